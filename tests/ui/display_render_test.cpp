#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "core/prompt.h"
#include "display/display.h"
#include "display/web_bitmap.h"
#include "display_render_support.h"
#include "ui/qt_canvas.h"

namespace pelor::ui {
namespace {

std::string OutPath(const std::string& name) {
    return std::string(PELOR_BINARY_DIR) + "/" + name;
}

// Mean brightness of blocks of `block` pixels, row by row.
std::vector<int> Signature(const QImage& image, QRect area, int block) {
    std::vector<int> out;
    for (int by = area.top(); by + block <= area.bottom() + 1; by += block) {
        for (int bx = area.left(); bx + block <= area.right() + 1; bx += block) {
            long sum = 0;
            for (int y = by; y < by + block; ++y) {
                for (int x = bx; x < bx + block; ++x) sum += qGray(image.pixel(x, y));
            }
            out.push_back(static_cast<int>(sum / (static_cast<long>(block) * block)));
        }
    }
    return out;
}

class DisplayRender : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { testing::EnsureQtApplication(); }
    display::Display display;
    QtCanvas canvas;
};

TEST_F(DisplayRender, PagesWithEveryModeAreSavedAndShowTheirGauges) {
    for (int type : {6, 10, 14}) {
        const QImage image = testing::RenderDemoPage(display, canvas, type);
        const std::string path = OutPath("display_render_type" + std::to_string(type) + ".png");
        ASSERT_TRUE(image.save(QString::fromStdString(path))) << path;
        // Not blank: many distinct colours inside the gauge area.
        const core::Rect a = display.Layout().scaledGaugeArea;
        QSet<QRgb> colours;
        for (int y = a.y; y < a.y + a.height; y += 3) {
            for (int x = a.x; x < a.x + a.width; x += 3) colours.insert(image.pixel(x, y));
        }
        EXPECT_GT(colours.size(), 500) << type;
    }
}

TEST_F(DisplayRender, GoldenSignatureOfTheLandscapePage) {
    const QImage image = testing::RenderDemoPage(display, canvas, 9);
    const std::vector<int> got = Signature(image, QRect(20, 20, 640, 500), 40);
    const std::string golden =
        std::string(PELOR_SOURCE_DIR) + "/tests/ui/data/display_golden_type9.txt";
    std::ifstream in(golden);
    if (!in) {
        std::ofstream out(OutPath("display_golden_type9.txt"));
        for (int v : got) out << v << "\n";
        FAIL() << "no golden file; a candidate was written to the build folder";
    }
    std::vector<int> want;
    for (int v; in >> v;) want.push_back(v);
    ASSERT_EQ(got.size(), want.size());
    int moved = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::abs(got[i] - want[i]) > 10) ++moved;
    }
    EXPECT_LE(moved, 3) << "blocks of 40 x 40 pixels whose brightness changed";
}

TEST_F(DisplayRender, HalfScaleShrinksTheWindowCopyOnly) {
    const QImage full = testing::RenderDemoPage(display, canvas, 9, 100);
    const QImage buffer = canvas.Buffer();
    const QImage half = testing::RenderDemoPage(display, canvas, 9, 50);
    EXPECT_EQ(canvas.Buffer().size(), buffer.size());
    EXPECT_EQ(half.width(), 20 + 320 + 20);
    // The half-size copy matches the full one sampled at every other pixel, roughly.
    int close = 0;
    int total = 0;
    for (int y = 0; y < 250; y += 10) {
        for (int x = 0; x < 320; x += 10) {
            ++total;
            if (std::abs(qGray(half.pixel(20 + x, 20 + y)) -
                         qGray(full.pixel(20 + 2 * x, 20 + 2 * y))) < 40) {
                ++close;
            }
        }
    }
    EXPECT_GT(close, total * 8 / 10);
}

TEST_F(DisplayRender, WebBitmapOfAKnownPage) {
    const QImage image = testing::RenderDemoPage(display, canvas, 9);
    const core::Rect a = display.Layout().gaugeArea;
    const display::RgbBuffer pixels =
        canvas.GaugeAreaPixels(display.Layout().scaledGaugeArea, a.width, a.height);
    core::ScriptedPrompt prompt;
    const std::string path = OutPath("display_web_bitmap.bmp");
    ASSERT_TRUE(display::Display::WriteWebBitmap(path, pixels, prompt));
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    const int row = display::BmpRowSize(640);
    ASSERT_EQ(b.size(), 54u + static_cast<std::size_t>(row) * 500);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[18] | (b[19] << 8), 640);
    EXPECT_EQ(b[22] | (b[23] << 8), 500);
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(b[38], 100);
    // Probes: the bitmap's pixel (x, y) is the window's (20 + x, 20 + y), rows bottom first.
    for (const QPoint probe :
         {QPoint(0, 0), QPoint(128, 120), QPoint(400, 60), QPoint(639, 499), QPoint(100, 300)}) {
        const std::size_t at = 54 + static_cast<std::size_t>(row) * (499 - probe.y()) +
                               static_cast<std::size_t>(probe.x()) * 3;
        const QRgb want = image.pixel(20 + probe.x(), 20 + probe.y());
        EXPECT_EQ(b[at + 2], qRed(want)) << probe.x() << "," << probe.y();
        EXPECT_EQ(b[at + 1], qGreen(want)) << probe.x() << "," << probe.y();
        EXPECT_EQ(b[at], qBlue(want)) << probe.x() << "," << probe.y();
    }
}

TEST_F(DisplayRender, DemoThemeChangesTheLook) {
    const QImage plain = testing::RenderDemoPage(display, canvas, 9);
    core::ScriptedPrompt prompt;
    ASSERT_TRUE(display.LoadThemeFile(
        std::string(PELOR_SOURCE_DIR) + "/examples/demo/DemoTheme.txt", prompt));
    EXPECT_TRUE(prompt.shown.empty());
    const QImage themed = testing::RenderDemoPage(display, canvas, 9);
    themed.save(QString::fromStdString(OutPath("display_render_demo_theme.png")));
    int amber = 0;
    for (int y = 0; y < themed.height(); ++y) {
        for (int x = 0; x < themed.width(); ++x) {
            const QRgb p = themed.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) > 130 && qGreen(p) < 200 && qBlue(p) < 90) ++amber;
        }
    }
    EXPECT_GT(amber, 200) << "the demo theme's amber value texts";
    EXPECT_NE(plain, themed);
}

}  // namespace
}  // namespace pelor::ui
