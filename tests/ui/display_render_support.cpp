#include "display_render_support.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <cstring>
#include <memory>

#include "ui/artwork.h"

namespace pelor::ui::testing {

namespace {

struct Gauge {
    int mode;
    int frame;
    int x;
    int y;
    const char* value;
    const char* label;
};

void Put(decode::ChannelStore& store, int slot, const Gauge& g) {
    store.m_PosMode[slot] = g.mode;
    store.m_PosFrame[slot] = g.frame;
    store.m_PosX[slot] = g.x;
    store.m_PosY[slot] = g.y;
    store.m_PosValueText[slot] = {};
    std::memcpy(store.m_PosValueText[slot].data(), g.value,
                std::min<std::size_t>(std::strlen(g.value), 8));
    store.m_PosLabel[slot] = g.label;
}

}  // namespace

namespace {

// An application object made here lives until the end of the test run, so that it is
// destroyed before the program's static objects. One made elsewhere in the program first
// is used as it is.
class QtApplicationEnvironment : public ::testing::Environment {
  public:
    void TearDown() override { app.reset(); }
    static inline std::unique_ptr<QApplication> app;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "tests_ui";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        QtApplicationEnvironment::app = std::make_unique<QApplication>(argc, argv);
    }
}

void FillDemoPage(decode::ChannelStore& store, int displayType) {
    using namespace display;
    store.m_PosMode.fill(0);
    // Landscape 640 x 500 (T050L, T100L): tight, the large faces share the top row.
    const Gauge landscape[] = {
        {kModeLargeRamp, 10, 0, 0, "2450", "RPM PORT"},
        {kModeLargeDial, 9, 260, 0, " 7.4", "BOOST"},
        {kModeBargraph, 7, 0, 235, "  68", "FUEL"},
        {kModeBarText, 6, 0, 300, "  82", "COOLANT"},
        {kModeDial, 9, 330, 300, "14.2", "VOLTS"},
        {kModeIndicator, 1, 470, 290, "    ", "BILGE"},
        {kModeIndicator, 0, 470, 322, "    ", "ALARM"},
        {kModeSmallText, 0, 465, 358, "  24", "SEA C"},
        {kModeHistogram, 8, 0, 400, "  12", "DEPTH"},
        {kModeData, 0, 320, 398, "1013", "BARO"},
        {kModeLargeText, 0, 320, 430, "  18", "KNOTS"},
        {kModeHugeText, 0, 700, 700, "    ", ""},  // off the area: no room on this model
    };
    const Gauge portrait[] = {
        {kModeLargeRamp, 10, 0, 0, "2450", "RPM PORT"},
        {kModeLargeDial, 9, 300, 0, " 7.4", "BOOST"},
        {kModeBargraph, 7, 0, 240, "  68", "FUEL"},
        {kModeDial, 9, 0, 315, "14.2", "VOLTS"},
        {kModeBarText, 6, 140, 315, "  82", "COOLANT"},
        {kModeHistogram, 8, 0, 450, "  12", "DEPTH"},
        {kModeIndicator, 1, 380, 460, "    ", "BILGE"},
        {kModeIndicator, 0, 380, 495, "    ", "ALARM"},
        {kModeSmallText, 0, 375, 530, "  24", "SEA C"},
        {kModeData, 0, 0, 560, "1013", "BARO"},
        {kModeHugeText, 0, -20, 610, " 6.8", "SOG"},
        {kModeLargeText, 0, 400, 585, "  18", "KNOTS"},
    };
    const Gauge large[] = {
        {kModeLargeRamp, 10, 0, 0, "2450", "RPM PORT"},
        {kModeLargeDial, 9, 270, 0, " 7.4", "BOOST"},
        {kModeDial, 9, 540, 0, "14.2", "VOLTS"},
        {kModeBarText, 6, 700, 0, "  82", "COOLANT"},
        {kModeHistogram, 8, 700, 140, "  12", "DEPTH"},
        {kModeBargraph, 7, 0, 250, "  68", "FUEL"},
        {kModeHugeText, 0, 0, 330, " 6.8", "SOG"},
        {kModeLargeText, 0, 640, 330, "  18", "KNOTS"},
        {kModeData, 0, 640, 430, "1013", "BARO"},
        {kModeSmallText, 0, 640, 490, "  24", "SEA C"},
        {kModeIndicator, 1, 840, 490, "    ", "BILGE"},
        {kModeIndicator, 0, 840, 530, "    ", "ALARM"},
    };
    const Gauge* page = landscape;
    if (displayType == 4 || displayType == 8 || displayType == 10 || displayType == 12)
        page = portrait;
    if (displayType == 11 || displayType == 13 || displayType == 14) page = large;
    for (int i = 0; i < 12; ++i) Put(store, i, page[i]);
}

QImage RenderDemoPage(display::Display& display, QtCanvas& canvas, int displayType, int scale,
                      bool grid) {
    decode::ChannelStore store;
    display.ApplyLayout(store, displayType, scale, false);
    PrepareCanvas(canvas, display);
    ApplyCanvasLayout(canvas, display);
    display.Paint(canvas, store, grid);  // the bare background first
    FillDemoPage(store, displayType);
    store.m_bRedrawAll = 0;  // a reader's paint
    display.Paint(canvas, store, grid);
    return canvas.WindowImage();
}

}  // namespace pelor::ui::testing
