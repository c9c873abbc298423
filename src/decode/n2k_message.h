#pragma once
// One NMEA 2000 message as the formatters see it: the PGN and a view of its payload in
// NMEA 2000 byte order (multi-byte fields little-endian). Every read is bounds-safe: a byte
// past the end of the payload reads as 0.
#include <cstddef>
#include <cstdint>
#include <span>

namespace pelor::decode {

inline constexpr std::size_t kN2KMaxPayload = 1788;

struct N2KMessage {
    std::uint32_t Pgn = 0;
    std::span<const std::uint8_t> Data;

    std::uint8_t Byte(std::size_t i) const { return i < Data.size() ? Data[i] : 0; }
    std::uint16_t U16(std::size_t i) const {
        return static_cast<std::uint16_t>(Byte(i) | (Byte(i + 1) << 8));
    }
    std::int16_t S16(std::size_t i) const { return static_cast<std::int16_t>(U16(i)); }
    std::uint32_t U32(std::size_t i) const {
        return static_cast<std::uint32_t>(U16(i)) | (static_cast<std::uint32_t>(U16(i + 2)) << 16);
    }
    std::int32_t S32(std::size_t i) const { return static_cast<std::int32_t>(U32(i)); }
};

}  // namespace pelor::decode
