#pragma once
// Hexadecimal digits and numbers as the unit's files and sentences use them, and the XOR
// checksum of its sentences: the one reader of each, shared by every parser and writer.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

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

// Whether HexDigitValue reads `c` as a digit: '0'-'9' or 'A'-'F'.
constexpr bool IsUpperHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Whether `c` is a hexadecimal digit of either case.
constexpr bool IsHexDigit(char c) {
    return IsUpperHexDigit(c) || (c >= 'a' && c <= 'f');
}

// The byte written as the two digits `high` and `low` (HexDigitValue each).
constexpr int HexPairValue(char high, char low) {
    return 16 * HexDigitValue(high) + HexDigitValue(low);
}

// The value of the first `count` digits of `digits` (HexDigitValue each); positions past the
// end of `digits` read as 0, so a field cut short keeps its place value.
constexpr unsigned FixedHexValue(std::string_view digits, std::size_t count) {
    unsigned value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value =
            value * 16 + static_cast<unsigned>(i < digits.size() ? HexDigitValue(digits[i]) : 0);
    return value;
}

// A hexadecimal number as the C library's base-16 reader takes it from `field`: leading
// blanks and a sign are allowed, digits of either case, stopping at the first other
// character; the result is clamped to the signed 32-bit range.
constexpr std::int64_t ReadHexNumber(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    for (; i < field.size() && IsHexDigit(field[i]); ++i) {
        value = value * 16 + HexDigitValueAnyCase(field[i]);
        // Past the clamp the value can only grow: stop it before it overflows.
        if (value > kMax + 1) value = kMax + 1;
    }
    if (negative) value = -value;
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    return value > kMax ? kMax : (value < kMin ? kMin : value);
}

// XOR of every character of `body`: the checksum of a sentence, taken over the characters
// between its '$' and its '*'.
constexpr std::uint8_t XorChecksum(std::string_view body) {
    unsigned sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    return static_cast<std::uint8_t>(sum);
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
