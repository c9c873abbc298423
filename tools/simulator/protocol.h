#pragma once
// The sentences and frames the simulated unit, gateway and adapter put on the wire.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelor::sim {

// Exclusive OR of every character of `body` (the text between "$" and "*").
std::uint8_t NmeaChecksum(std::string_view body);

// "$" + body + "*hh" + ending, the checksum over body.
std::string WithChecksum(std::string_view body, std::string_view ending = "\r\n");

// $IIXDR,t,vvvvvvvv,u,nnnnnnnnc*hh\r — a channel value: 8-character value text (display
// characters, "##", two hex digits of the level), 8-character label and the channel digit.
std::string XdrSentence(int channel, std::string_view valueText, std::string_view label);

// The 8-character value text for a display text of 4 characters and a level 0..255.
std::string ValueText(std::string_view display, int level);

// $PKZLN,pppppp,tttttttt,ss,<payload hex>*hh\r\n — one NMEA 2000 message as text.
std::string N2kSentence(std::uint32_t pgn, std::uint32_t timeMs, int source,
                        std::span<const std::uint8_t> payload);

// DLE STX 0x93 L priority pgn(3) destination source time(4) n payload checksum DLE ETX, with
// every 0x10 inside doubled. L counts priority through payload; the checksum makes the sum
// of the bytes from 0x93 to it zero.
std::string N2kFrame(std::uint32_t pgn, std::uint32_t timeMs, int source,
                     std::span<const std::uint8_t> payload);

// m ttt "xxx,yyy, ff " "vvvv" "llllllll" — one screen record of the unit's display (a gauge
// type below 100 makes it start "m0").
std::string ScreenRecord(int gaugeType, int x, int y, int frame, std::string_view value,
                         std::string_view label);

// Status sentences of the unit: version, two status texts and the twelve switch outputs.
std::string VersionSentence(std::string_view version);
std::string StatusDSentence(std::string_view text);
std::string StatusHSentence(std::string_view text);
std::string SwitchSentence(const bool (&outputs)[12]);

}  // namespace pelor::sim
