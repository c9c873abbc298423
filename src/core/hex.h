#pragma once
// Hexadecimal digit values as the unit's files and sentences use them.
#include <cstdint>
#include <string>

namespace pelor::core {

// '0'-'9' -> 0-9, 'A'-'F' -> 10-15; every other character (lower case included) -> 0.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

// As HexDigitValue, but 'a'-'f' also give 10-15 (the editors' readers accept both cases).
constexpr int HexDigitValueAnyCase(char c) {
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return HexDigitValue(c);
}

// Appends `b` as two upper-case digits, as NMEA checksums, the gateway's sentences and Intel
// HEX records are written (the decoder reads no other digits). Without a format call: record
// and log writers run it for every byte.
inline void AppendHexByte(std::string& out, std::uint8_t b) {
    constexpr char kUpperHex[] = "0123456789ABCDEF";
    out += kUpperHex[b >> 4];
    out += kUpperHex[b & 0x0F];
}

}  // namespace pelor::core
