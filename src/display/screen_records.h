#pragma once
// The unit's screen records: where and how the unit itself draws each gauge.
//
//   m079 "xxx,yyy, ff" "vvvv" "llllllll"
//   ^p   ^p+5 quote, x at p+6..p+8, y at p+10..p+12, frame at p+15..p+16 (when p+17 is a
//        space) or p+16..p+17 (when p+17 is a digit); then the value and label fields.
//
// Each record fills the next slot (the first record of a text fills slot 1, wrapping at 16).
#include <array>
#include <cstddef>
#include <string_view>

#include "decode/channel_store.h"
#include "display/gauge_style.h"

namespace pelor::display {

struct ScreenRecordRules {
    int displayType = 0;
    // Frame offset of each gauge style record (255: built-in correction).
    std::array<int, kStyleCount> frameOffsets{};
};

ScreenRecordRules MakeScreenRecordRules(int displayType, const GaugeStyles& styles);

// The frame the drawing uses for a received frame number of a record of `mode`.
int CorrectFrame(int mode, int frame, int frameOffset);

// Parses the screen records in `text` (normally a copy of the receive text) into the
// channel records of `store` and keeps the unconsumed tail in store.ReceiveText: the text
// from an incomplete record on, or what follows the last complete record (other sentences
// may still be arriving there), or the whole text when no record started. Returns the
// tail's length. The caller holds the store's mutex for the whole call. Reads stay within
// `text`; `text` may be a view of store.ReceiveText itself.
std::size_t ParseScreenRecords(std::string_view text, decode::ChannelStore& store,
                               const ScreenRecordRules& rules);

}  // namespace pelor::display
