#pragma once
// The channel store: what is shown for the sixteen display channels, and the link status
// texts that make the main window's caption. Every decoder ends in UpdateChannel; the paint
// and the capture writers only read. One mutex serialises a reader's pass against a paint.
#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace pelor::decode {

inline constexpr int kChannelCount = 16;
inline constexpr int kSwitchCount = 12;

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

    // Link status.
    std::string ReceiveText;
    std::string m_strTitlePrefix = "::";
    std::string m_strLinkStatus = "disconnected";
    std::string SystemTimeText;
    std::string LastDSentence;
    std::string LastSSentence;
    std::array<std::uint8_t, kSwitchCount> SwitchState{};
    std::uint8_t m_bRedrawAll = 1;
    std::uint8_t PurgeRequest = 0;

    // Held by a reader for all updates of one pass and by the paint for one whole paint;
    // never while a reader waits for its device.
    mutable std::mutex mutex;
};

}  // namespace pelor::decode
