#pragma once
// Capture rows read back for playback. A CSV log holds one header line per recording and one
// row per capture tick:
//
//   Date Time, Count,RPM     ,0  ,BOOST   ,1 ,...      name (8) and channel digit per column pair
//   20261210133104,000001,2259,  9,  28, 19,...        shown text (4) and "%3d" glyph code of
//                                                      the level's high hex digit per pair
//
// Entry 0 may be a single "--------" column instead of a pair. Each row is a snapshot of
// every channel, so playback applies the first complete row of a chunk: the values at the
// chosen position. The level is rebuilt from its high digit (low digit 0).
#include <array>
#include <cstdint>
#include <string_view>

#include "decode/channel_context.h"
#include "decode/channel_store.h"

namespace pelor::logs {

class CaptureRowReader {
public:
    // Forgets the column layout: rows are then read by the default layout (entry 0 first,
    // then 1..15) until a header line is seen.
    void Reset();

    // Learns the column layout from `line` when it is a header line ("Date Time, Count,...",
    // no line end). False when it is not one.
    bool TakeHeader(std::string_view line);

    // Reads one chunk of the log (text-mode read). `atFileStart`: the chunk begins at the
    // start of a line. Header lines update the layout; the first complete data row is applied
    // through UpdateChannel. Returns the number of values applied. Call with store.mutex held.
    int Feed(std::string_view chunk, bool atFileStart, decode::ChannelStore& store,
             const decode::ChannelContext& context);

    // One data row ("stamp,count,..." without its line end) applied; the count of values.
    int ApplyRow(std::string_view row, decode::ChannelStore& store,
                 const decode::ChannelContext& context) const;

    bool HasHeader() const { return hasHeader_; }

private:
    // Per column group in order: the channel it belongs to, kSingle for the one-column entry 0
    // ("--------"), kSkip for a pair that carries no channel (a placeholder entry).
    static constexpr int kSingle = -1;
    static constexpr int kSkip = -2;
    std::array<int, 16> groups_{};
    int groupCount_ = 0;
    bool hasHeader_ = false;
};

}  // namespace pelor::logs
