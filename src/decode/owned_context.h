#pragma once
// A ChannelContext together with everything it points to (tables, page configuration, grid,
// view and clock) and the channel store it feeds, all owned here: for benchmarks, fuzz targets
// and tools that run the decoders without a dashboard. Starts all zero; callers fill in what
// they need. Not copyable: the context points into the object itself.
#include <ctime>

#include "core/clock.h"
#include "core/view.h"
#include "decode/channel_context.h"
#include "decode/channel_store.h"
#include "decode/context_tables.h"
#include "tables/table_types.h"

namespace pelor::decode {

struct OwnedChannelContext {
    explicit OwnedChannelContext(std::time_t start = 1700000000) : clock(start) {
        AttachTables(context, calibration, labelStrings, labelTable, options, labelMode, labelCell);
        context.gridX = &gridX;
        context.gridY = &gridY;
        context.frameCounts = {30, 49, 20, 11, 8, 1, 1, 1, 40, 1, 2};
        context.view = &view;
        context.clock = &clock;
    }
    OwnedChannelContext(const OwnedChannelContext&) = delete;
    OwnedChannelContext& operator=(const OwnedChannelContext&) = delete;

    tables::OptionsTable options{};
    tables::CalibrationTables calibration{};
    LabelStrings labelStrings;
    tables::LabelTable labelTable{};
    PageBytes labelMode{};
    PageBytes labelCell{};
    Grid gridX{};
    Grid gridY{};
    core::RecordingView view;
    core::ManualClock clock;
    ChannelContext context;
    ChannelStore store;
};

}  // namespace pelor::decode
