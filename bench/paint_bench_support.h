#pragma once
// What the paint benchmarks share: an offscreen application and sixteen gauges, one of every
// display mode and some twice, placed on the first sixteen cells of the grid.
#include <QApplication>

#include <cstring>
#include <string>

#include "decode/channel_store.h"
#include "display/display.h"

namespace pelor::bench {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "pelor_bench";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

inline void FillSixteen(decode::ChannelStore& store, const display::LayoutState& layout) {
    const int modes[] = {display::kModeLargeRamp, display::kModeDial,      display::kModeLargeDial,
                         display::kModeBarText,   display::kModeBargraph,  display::kModeData,
                         display::kModeLargeText, display::kModeSmallText, display::kModeIndicator,
                         display::kModeHistogram, display::kModeHugeText,  display::kModeDial,
                         display::kModeData,      display::kModeSmallText, display::kModeIndicator,
                         display::kModeBargraph};
    for (int slot = 0; slot < 16; ++slot) {
        store.m_PosMode[slot] = modes[slot];
        store.m_PosFrame[slot] = slot % 10;
        store.m_PosX[slot] = layout.gridX[static_cast<std::size_t>(slot) * 2];
        store.m_PosY[slot] = layout.gridY[static_cast<std::size_t>(slot) * 2];
        std::memcpy(store.m_PosValueText[slot].data(), "12.5##FF", 8);
        store.m_PosLabel[slot] = "GAUGE" + std::to_string(slot);
    }
}

}  // namespace pelor::bench
