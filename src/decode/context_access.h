#pragma once
// Bounds-safe reads of the tables a ChannelContext points to: a missing table or an index
// past its end reads as 0.
#include <cstddef>
#include <cstdint>

#include "decode/channel_context.h"

namespace pelor::decode {

inline std::uint8_t OptionByte(const ChannelContext& context, std::size_t index) {
    if (context.options == nullptr || index >= context.options->size()) return 0;
    return (*context.options)[index];
}

inline char LabelTableChar(const ChannelContext& context, int channel, int i) {
    const std::size_t index = static_cast<std::size_t>(channel) * 8 + static_cast<std::size_t>(i);
    if (context.labelTable == nullptr || index >= context.labelTable->size()) return 0;
    return static_cast<char>((*context.labelTable)[index]);
}

// Options table layout used by the decoders.
inline constexpr std::size_t kAlarmEnableByte = 24;     // bit 7: alarms enabled
inline constexpr std::size_t kChannelOutputBase = 48;   // + c; bit 7: show calibration entry
inline constexpr std::size_t kAlarmLowBase = 64;        // + 2c
inline constexpr std::size_t kAlarmHighBase = 65;       // + 2c
inline constexpr std::size_t kAlarmInvertedBase = 128;  // + 2c; 1 = limits apply to 255 - B
inline constexpr std::size_t kAlarmLevelBase = 160;     // + c; 0 off, 1 flash, 2+ flash + beep
inline constexpr std::size_t kN2KSourceBase = 256;      // + 2c: group|instance, field code

}  // namespace pelor::decode
