// What a skipper sees of the two small gauges, measured in the painted pixels: a lit
// indicator is clearly brighter than one that is off (not just its label moved), and the
// small text's digits are tall enough to read.
#include <gtest/gtest.h>

#include <QImage>

#include "decode/channel_store.h"
#include "display/display.h"
#include "display_render_support.h"
#include "ui/artwork.h"
#include "ui/qt_canvas.h"

namespace pelor::ui {
namespace {

using namespace display;

double MeanBrightness(const QImage& image, QRect r) {
    long sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            sum += std::max({qRed(p), qGreen(p), qBlue(p)});
        }
    }
    return double(sum) / double(r.width() * r.height());
}

// Rows of `r` holding a bright pixel: the height of what is written there.
int InkHeight(const QImage& image, QRect r) {
    int top = -1;
    int bottom = -1;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (qGreen(image.pixel(x, y)) > 140) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
        }
    }
    return top < 0 ? 0 : bottom - top + 1;
}

class SmallGauges : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureQtApplication(); }

    // Paints the given gauges on the T100L's background and returns the window image.
    QImage Paint(const std::vector<std::tuple<int, int, int, int, const char*, const char*>>& g) {
        decode::ChannelStore store;
        display.ApplyLayout(store, 9, 100, false);
        PrepareCanvas(canvas, display);
        ApplyCanvasLayout(canvas, display);
        display.Paint(canvas, store, false);
        int slot = 0;
        for (const auto& [mode, frame, x, y, value, label] : g) {
            store.m_PosMode[slot] = mode;
            store.m_PosFrame[slot] = frame;
            store.m_PosX[slot] = x;
            store.m_PosY[slot] = y;
            store.m_PosValueText[slot] = {};
            std::copy_n(value, 4, store.m_PosValueText[slot].begin());
            store.m_PosLabel[slot] = label;
            ++slot;
        }
        store.m_bRedrawAll = 0;
        display.Paint(canvas, store, false);
        return canvas.WindowImage();
    }

    Display display;
    QtCanvas canvas;
};

TEST_F(SmallGauges, ALitIndicatorIsClearlyBrighterThanOneThatIsOff) {
    // Two indicators with the same label, one on and one off, one above the other.
    const QImage image = Paint(
        {{kModeIndicator, 1, 0, 0, "    ", "BILGE"}, {kModeIndicator, 0, 0, 60, "    ", "BILGE"}});
    image.save(QString::fromStdString(std::string(PELOR_BINARY_DIR) + "/indicators.png"));
    const auto& style = display.Styles()[kStyleIndicator];
    const GaugeOffsets o = OffsetsFor(9, kModeIndicator);
    const core::Rect lamp = IndicatorLamp(style, o);
    const QRect onLamp(o.pictureX + lamp.x, o.pictureY + lamp.y, lamp.width, lamp.height);
    const QRect offLamp = onLamp.translated(0, 60);
    const QRect onFace(o.pictureX, o.pictureY, style.width, style.height);
    const QRect offFace = onFace.translated(0, 60);

    EXPECT_GT(MeanBrightness(image, onLamp), 150) << "the lamp of an indicator that is on";
    EXPECT_LT(MeanBrightness(image, offLamp), 60) << "the lamp of an indicator that is off";
    EXPECT_GT(MeanBrightness(image, onFace), MeanBrightness(image, offFace) + 8)
        << "the whole face lights up";
    // Lit in the instrument's green, not just grey.
    const QRgb centre = image.pixel(onLamp.center());
    EXPECT_GT(qGreen(centre), qRed(centre) + 20);
}

TEST_F(SmallGauges, SmallTextDigitsAreReadable) {
    const QImage image = Paint({{kModeSmallText, 0, 0, 0, "  24", "SEA C"}});
    image.save(QString::fromStdString(std::string(PELOR_BINARY_DIR) + "/small_text.png"));
    const auto& style = display.Styles()[kStyleSmallText];
    const GaugeOffsets o = OffsetsFor(9, kModeSmallText);
    const QRect value(style.valueX + o.valueX, o.pictureY, style.width - style.valueX,
                      style.height);
    const QRect label(style.labelX + o.labelX, o.pictureY, style.valueX - style.labelX - 10,
                      style.height);
    EXPECT_GE(InkHeight(image, value), 13) << "digits of the value";
    EXPECT_GE(InkHeight(image, label), 10) << "capitals of the label";
}

}  // namespace
}  // namespace pelor::ui
