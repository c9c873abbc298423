#pragma once
// Hexadecimal digit values as the unit's files and sentences use them.

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

}  // namespace pelor::core
