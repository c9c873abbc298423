#pragma once
// The channel store: what is shown for the sixteen display channels, and the link status
// texts that make the main window's caption. Every decoder ends in UpdateChannel; the paint
// and the capture writers only read. One mutex serialises a reader's pass against a paint.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "decode/channel_context.h"

namespace pelor::decode {

inline constexpr int kChannelCount = 16;
inline constexpr int kSwitchCount = 12;

// Switch outputs commanded and not yet reported in the commanded state. While an output is
// pending its button shows the pending picture, and a further command is built from what was
// commanded rather than from the report, which may predate the first command.
struct PendingSwitches {
    std::array<bool, kSwitchCount> pending{};
    std::array<std::uint8_t, kSwitchCount> commanded{};  // 1 on, 0 off
    std::array<std::int64_t, kSwitchCount> sinceMs{};    // monotonic time of the command
};

struct ChannelStore {
    // Per channel.
    std::array<std::string, kChannelCount> m_PosLabel;
    std::array<std::int32_t, kChannelCount> m_PosMode{};
    std::array<std::int32_t, kChannelCount> m_PosFrame{};
    std::array<std::int32_t, kChannelCount> m_PosX{};
    std::array<std::int32_t, kChannelCount> m_PosY{};
    std::array<std::array<char, 8>, kChannelCount> m_PosValueText{};
    std::array<std::array<std::int32_t, 8>, kChannelCount> TextGlyphs{};
    std::array<std::array<std::int32_t, 8>, kChannelCount> LabelGlyphs{};
    std::array<std::string, kChannelCount> LastSentence;
    std::array<std::uint8_t, kChannelCount> AlarmBlink{};
    // Counts the values each channel has been given (by UpdateChannel or a screen record), so
    // that the window can tell a channel that still receives from one that went quiet.
    std::array<std::uint32_t, kChannelCount> UpdateCount{};

    // Link status.
    std::string ReceiveText;
    std::string m_strTitlePrefix = "::";
    std::string m_strLinkStatus = "disconnected";
    std::string SystemTimeText;
    std::string LastDSentence;
    std::string LastSSentence;
    std::array<std::uint8_t, kSwitchCount> SwitchState{};
    PendingSwitches SwitchPending;
    std::uint8_t m_bRedrawAll = 1;
    std::uint8_t PurgeRequest = 0;

    // Held by a reader for all updates of one pass and by the paint for one whole paint;
    // never while a reader waits for its device.
    mutable std::mutex mutex;
};

// Glyph strip index of a character: NUL and space 0, '0'-'9' 1-10, '.' 11, '#' and '-' 13,
// 'A'-'Z' 14-39, 'a'-'z' 40-65, anything else 0.
int GlyphCode(char c);

// The 8-character work text built from a value text.
using WorkText = std::array<char, 8>;

// Applies one value text to one channel: label, work text (calibration lookup when the
// channel's output byte asks for it), position, glyphs, frame by display mode of the current
// page, and the alarm check with blink and beep. Value text: 4 or 6 display characters, an
// optional "##", then the raw level as two upper-case hex digits ("  73##A0"). Channels
// outside 0..15 are ignored. Call with store.mutex held.
void UpdateChannel(ChannelStore& store, const ChannelContext& context, int channel,
                   std::string_view value);

// Copies the label glyphs, overwrites the value and name fields of the channel's LastSentence
// and refreshes the first `count` characters of the shown value from `work`.
void RefreshGlyphs(ChannelStore& store, const ChannelContext& context, int channel, int count,
                   const WorkText& work);

// Data half of a layout reset: clears mode, frame and position of all sixteen channels, asks
// for the bare background and then for a repaint. Call with store.mutex held.
void ResetPositions(ChannelStore& store, core::View* view);

}  // namespace pelor::decode
