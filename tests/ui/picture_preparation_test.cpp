// Pictures are made when the display type needs them, not all at start: the layout holds its
// own background only, strips come one per turn of the event loop or at their first paint,
// and what is drawn is the same as with every picture made up front.
#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>

#include "display/display.h"
#include "display/gauge_paint.h"
#include "display/gauge_style.h"
#include "display_render_support.h"
#include "ui/artwork.h"
#include "ui/picture_preparer.h"
#include "ui/qt_canvas.h"

namespace pelor::ui {
namespace {

class PicturePreparation : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureQtApplication(); }
};

std::vector<std::string> HeldBackgrounds(const QtCanvas& canvas) {
    std::vector<std::string> held;
    for (int e = 1; e <= display::kThemeBackgroundCount; ++e) {
        const std::string name = display::BackgroundPictureName(e);
        if (canvas.HasPicture(name)) held.push_back(name);
    }
    return held;
}

TEST_F(PicturePreparation, PicturesOnlyByNameOfAStripOrBackground) {
    const auto styles = display::DefaultGaugeStyles();
    const auto theme = display::DefaultTheme();
    struct Case {
        const char* name;
        int width;  // 0: no picture
        int height;
    } const cases[] = {
        {"STRIP1", 128 * 14, 128}, {"STRIP10", 180, 32},
        {"BACKGROUND4", 800, 540}, {"BACKGROUND12", 1350, 1640},
        {"STRIP11", 0, 0},         {"STRIP01", 0, 0},
        {"BACKGROUND0", 0, 0},     {"BACKGROUND13", 0, 0},
        {"STRIP", 0, 0},           {"", 0, 0},
        {"STRIP1x", 0, 0},         {"BUFFER", 0, 0},
    };
    for (const auto& c : cases) {
        const QImage image = BuildGaugePicture(c.name, styles, theme);
        EXPECT_EQ(image.size(), QSize(c.width, c.height)) << c.name;
    }
}

TEST_F(PicturePreparation, LayoutHoldsItsBackgroundOnlyAndPaintsAsIfEverythingWereMade) {
    for (const int type : {9, 12, 14}) {
        // The page with every picture made up front (drawn twice: the first drawing of a
        // large glyph may differ in its last bits from later ones) ...
        display::Display eager;
        QtCanvas eagerCanvas;
        eagerCanvas.SetPictures(BuildGaugePictures(eager.Styles(), eager.GetTheme()));
        testing::RenderDemoPage(eager, eagerCanvas, type);
        const QImage expected = testing::RenderDemoPage(eager, eagerCanvas, type);

        display::Display lazy;
        QtCanvas lazyCanvas;
        decode::ChannelStore store;
        lazy.ApplyLayout(store, type, 100, false);
        PrepareCanvas(lazyCanvas, lazy);
        ApplyCanvasLayout(lazyCanvas, lazy);
        const std::string background = lazy.BackgroundPicture();
        EXPECT_EQ(HeldBackgrounds(lazyCanvas), std::vector<std::string>{background}) << type;
        for (int i = 0; i < display::kStyleCount; ++i)
            EXPECT_FALSE(lazyCanvas.HasPicture(display::StripPictureName(i))) << type << " " << i;

        // ... is what it looks like with the strips made at their first paint.
        const QImage drawn = testing::RenderDemoPage(lazy, lazyCanvas, type);
        EXPECT_TRUE(drawn == expected) << "display type " << type;
        EXPECT_EQ(HeldBackgrounds(lazyCanvas), std::vector<std::string>{background}) << type;
    }
}

TEST_F(PicturePreparation, ANewDisplayTypeBringsItsBackgroundAndLetsTheOldOneGo) {
    display::Display display;
    QtCanvas canvas;
    decode::ChannelStore store;
    PrepareCanvas(canvas, display);
    display.ApplyLayout(store, 9, 100, false);
    ApplyCanvasLayout(canvas, display);
    EXPECT_EQ(HeldBackgrounds(canvas), std::vector<std::string>{"BACKGROUND4"});

    display.ApplyLayout(store, 14, 100, false);
    ApplyCanvasLayout(canvas, display);
    EXPECT_EQ(HeldBackgrounds(canvas), std::vector<std::string>{"BACKGROUND11"});
    // The buffer starts as the new background.
    const QImage background = DrawBackground(11).convertToFormat(QImage::Format_RGB32);
    for (const QPoint at : {QPoint(8, 8), QPoint(700, 400), QPoint(1300, 800)})
        EXPECT_EQ(canvas.Buffer().pixel(at), background.pixel(at)) << at.x() << "," << at.y();

    // A type cleared to black holds no background at all.
    display.ApplyLayout(store, 8, 100, false);
    ApplyCanvasLayout(canvas, display);
    EXPECT_TRUE(HeldBackgrounds(canvas).empty());
}

TEST_F(PicturePreparation, PreparerMakesTheStripsOfTheTypeOneTurnAtATime) {
    display::Display display;
    QtCanvas canvas;
    decode::ChannelStore store;
    PrepareCanvas(canvas, display);
    // Type 1 cannot show dials, ramps, bars with text or large texts: their strips never come.
    display.ApplyLayout(store, 1, 100, false);
    ApplyCanvasLayout(canvas, display);
    const std::vector<std::string> names = LayoutStripNames(display);
    EXPECT_EQ(names, (std::vector<std::string>{"STRIP6", "STRIP3", "STRIP10", "STRIP7"}));

    PicturePreparer preparer(canvas, nullptr);
    preparer.Prepare(names);
    EXPECT_FALSE(canvas.HasPicture("STRIP6")) << "prepared at once instead of in turns";
    QElapsedTimer waited;
    waited.start();
    while (!preparer.Idle() && waited.elapsed() < 5000) QApplication::processEvents();
    ASSERT_TRUE(preparer.Idle());
    for (const auto& name : names) EXPECT_TRUE(canvas.HasPicture(name)) << name;
    for (const char* unused : {"STRIP0", "STRIP1", "STRIP2", "STRIP8"})
        EXPECT_FALSE(canvas.HasPicture(unused)) << unused;
}

TEST_F(PicturePreparation, EveryPictureATypeNeedsTakesAFractionOfThemAll) {
    // The largest model with every strip: still far below every picture made at once.
    display::Display display;
    QtCanvas canvas;
    decode::ChannelStore store;
    PrepareCanvas(canvas, display);
    display.ApplyLayout(store, 14, 100, false);
    ApplyCanvasLayout(canvas, display);
    for (const auto& name : LayoutStripNames(display)) ASSERT_TRUE(canvas.EnsurePicture(name));
    std::size_t all = 0;
    for (const auto& [name, image] : BuildGaugePictures(display.Styles(), display.GetTheme()))
        all += static_cast<std::size_t>(image.sizeInBytes());
    EXPECT_LT(canvas.PictureBytes() * 3, all)
        << canvas.PictureBytes() / 1024 << " KB held of " << all / 1024 << " KB";
}

}  // namespace
}  // namespace pelor::ui
