#pragma once
// What the decoders read or call that other parts of the program own: tables, the page
// configuration, the active grid, gauge frame counts, settings, and the hooks of the display
// and capture code. Every pointer may be null; a missing table reads as all zero bytes and a
// missing hook is not called.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "tables/table_types.h"

namespace pelor::core {
class View;
class Clock;
}  // namespace pelor::core

namespace pelor::decode {

struct ChannelStore;

inline constexpr int kLabelStringCount = 64;
inline constexpr int kGridSize = 48;
inline constexpr int kGaugeStyleCount = 11;

using LabelStrings = std::array<std::string, kLabelStringCount>;
// m_LabelMode / m_LabelCell: [page][label].
using PageBytes = std::array<std::array<std::uint8_t, 16>, 16>;
using Grid = std::array<std::int32_t, kGridSize>;

struct ChannelContext {
    // Tables.
    const tables::CalibrationTables* calibration = nullptr;
    // Entry 0 is rewritten by the screen record message, hence not const.
    LabelStrings* labelStrings = nullptr;
    const tables::LabelTable* labelTable = nullptr;
    // Channel output bytes (48..63), alarm settings (24, 64.., 128.., 160..) and NMEA 2000
    // sources (256..287).
    const tables::OptionsTable* options = nullptr;

    // Page configuration and the active grid.
    const PageBytes* labelMode = nullptr;
    const PageBytes* labelCell = nullptr;
    int currentPage = 0;
    const Grid* gridX = nullptr;
    const Grid* gridY = nullptr;
    // What the display type cannot show: a value whose page entry names such a mode, or a
    // cell the type does not have, is not placed (its channel draws nothing on this page).
    std::array<bool, 16> modeHidden{};
    std::array<bool, kGridSize> cellMissing{};

    // Gauge styles: frame count and frame offset of each of the eleven records.
    std::array<int, kGaugeStyleCount> frameCounts{};
    std::array<int, kGaugeStyleCount> frameOffsets{255, 255, 255, 255, 255, 255,
                                                   255, 255, 255, 255, 255};
    int displayType = 0;  // m_nDisplayType

    // Settings.
    bool showComStatus = false;   // show ReceiveText in the raw-data box
    int switchBankInstance = -1;  // bank instance of the switch module (no match when < 0)
    int n2kTimeSource = 0;        // 0: ignore system time; n: accept it from source n - 1

    // Seams.
    core::View* view = nullptr;    // beeps, switch pictures, caption, repaint
    core::Clock* clock = nullptr;  // wall clock for the screen record caption

    // Screen records ("m0"/"m1"): parses what it can of store.ReceiveText and leaves the
    // unconsumed tail there. Called with the store's mutex held.
    std::function<void(ChannelStore&)> parseScreenRecords;
    // Capture tick: called where a reader pass may write a capture row; the capture code
    // decides whether the interval has passed. Called with the store's mutex held.
    std::function<void(ChannelStore&)> captureTick;
    // Observer of every applied value: the channel, the value text as handed in and the
    // 8-character work text built from it (after a calibration lookup). For tools and tests.
    std::function<void(int channel, std::string_view value, std::string_view work)> valueApplied;
    // Observer of every NMEA 2000 message handed to a formatter: PGN and time stamp (ms).
    std::function<void(std::uint32_t pgn, std::int64_t time)> messageDecoded;
    // Raw text writer of the TCP text link, given the characters of one read while recording.
    std::function<void(std::string_view)> rawText;
};

}  // namespace pelor::decode
