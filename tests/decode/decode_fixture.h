#pragma once
// A channel store with every table it reads, all zero, plus a recording view and a manual
// clock at 0, wired into one ChannelContext; grid cell i sits at (100 + i, 200 + i). Tests set
// the bytes they care about.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "decode/owned_context.h"

namespace pelor::decode::testing {

struct DecodeFixture : OwnedChannelContext {
    DecodeFixture();

    // Shows `channel` on page 0 in `mode` at grid cell `cell`.
    void Show(int channel, int mode, int cell = 0);
    // Maps `channel` to an NMEA 2000 source: group code, instance and field code bytes.
    void MapN2K(int channel, int group, int instance, int field);
    void SetLabel(int channel, std::string_view label);
    // Prepares `channel` so that Work() reveals the whole work text of its next update
    // (mode DATA, a placeholder LastSentence whose value field the update overwrites).
    void Capture(int channel);
    std::string Work(int channel) const;
    // Value text currently shown for `channel` (all 8 characters).
    std::string Shown(int channel) const;
};

// Payload bytes for NMEA 2000 messages, little-endian fields.
struct Payload {
    explicit Payload(std::size_t size, std::uint8_t fill = 0) : bytes(size, fill) {}
    Payload& U8(std::size_t at, unsigned v);
    Payload& U16(std::size_t at, unsigned v);
    Payload& U32(std::size_t at, std::uint32_t v);
    std::string Hex() const;
    std::string Raw() const { return std::string(bytes.begin(), bytes.end()); }
    std::vector<std::uint8_t> bytes;
};

// A fixture on the heap (the tables are large).
std::unique_ptr<DecodeFixture> MakeFixture();

// "$IIXDR,t,<value>,u,<label8><digit>*hh\r" with a correct checksum.
std::string TransducerSentence(std::string_view value, std::string_view label, char digit);
// "$PKZLN,pppppp,tttttttt,ss,<payload hex>*hh\r" with a correct checksum.
std::string N2KSentence(std::uint32_t pgn, std::uint32_t time, const std::string& payloadHex);
// An adapter frame 10 02 93 L ... CK 10 03 with stuffing.
std::string N2KFrame(std::uint32_t pgn, std::uint32_t time, std::string_view payload);

}  // namespace pelor::decode::testing
