#include <gtest/gtest.h>
#include <QApplication>
#include <QPainter>

#include "display/gauge_paint.h"
#include "display/gauge_style.h"
#include "display/theme.h"
#include "display_render_support.h"
#include "ui/artwork.h"

namespace pelor::ui {
namespace {

class Artwork : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { testing::EnsureQtApplication(); }
};

TEST_F(Artwork, StripsHaveTheStyleSizesAndTheirFramesDiffer) {
    const display::GaugeStyles styles = display::DefaultGaugeStyles();
    const PictureMap pictures = BuildGaugePictures(styles, display::DefaultTheme());
    for (int i = 0; i < display::kStyleCount; ++i) {
        const auto it = pictures.find(display::StripPictureName(i));
        ASSERT_NE(it, pictures.end()) << i;
        EXPECT_EQ(it->second.width(), styles[i].width * styles[i].frameCount) << i;
        EXPECT_EQ(it->second.height(), styles[i].height) << i;
        if (styles[i].frameCount > 1) {
            const QImage first = it->second.copy(0, 0, styles[i].width, styles[i].height);
            const int last = styles[i].frameCount - 1;
            const QImage end =
                it->second.copy(last * styles[i].width, 0, styles[i].width, styles[i].height);
            EXPECT_NE(first, end) << "the needle or bar moves, style " << i;
        }
    }
    for (int e = 1; e <= 12; ++e) {
        const QImage& bg = pictures.at(display::BackgroundPictureName(e));
        EXPECT_EQ(bg.width(), display::kBackgroundSizes[e].width) << e;
        EXPECT_EQ(bg.height(), display::kBackgroundSizes[e].height) << e;
    }
}

TEST_F(Artwork, ThemeGeometryWithoutAPictureFileRedrawsTheBuiltInStrip) {
    display::GaugeStyles styles = display::DefaultGaugeStyles();
    styles[display::kStyleDial].width = 96;
    styles[display::kStyleDial].height = 96;
    styles[display::kStyleDial].frameCount = 20;
    styles[display::kStyleDial].pictureFile = "/no/such/file.bmp";
    const PictureMap pictures = BuildGaugePictures(styles, display::DefaultTheme());
    EXPECT_EQ(pictures.at("STRIP1").size(), QSize(96 * 20, 96));
}

TEST_F(Artwork, EveryButtonHasItsPictures) {
    const auto buttons = BuildButtonPictures();
    std::vector<std::string> pairs = {
        "RECORD",    "STOP",        "SAVE",         "CONNECT",    "FLASH",      "PAGE",
        "DISPLAY",   "CLEAR",       "OK",           "SWGREEN",    "SWRED",      "SWON32",
        "SWOFF32",   "TOUCHNEXT",   "TOUCHEXIT",    "FULLSCREEN", "TOUCHFLASH", "TOUCHCONNECT",
        "TOUCHPREF", "TOUCHRECORD", "TOUCHKANTELO", "PB_PB",      "PB_SB",      "PB_STOP",
        "PB_SF",     "PB_PF"};
    for (int i = 0; i < 12; ++i) pairs.push_back("KANTELO" + std::to_string(i));
    for (const auto& name : pairs) {
        ASSERT_TRUE(buttons.count(name + "U")) << name;
        ASSERT_TRUE(buttons.count(name + "D")) << name;
        EXPECT_EQ(buttons.at(name + "U").size(), buttons.at(name + "D").size()) << name;
        EXPECT_NE(buttons.at(name + "U"), buttons.at(name + "D")) << name;
    }
    for (const char* single : {"CONNECT170", "CONNECT171", "SWYELLOW"}) {
        EXPECT_TRUE(buttons.count(single)) << single;
    }
    EXPECT_EQ(buttons.at("SWGREENU").size(), QSize(96, 96));
    EXPECT_EQ(buttons.at("TOUCHNEXTU").size(), QSize(96, 96));
    EXPECT_EQ(buttons.at("KANTELO3U").size(), QSize(32, 32));
    EXPECT_EQ(buttons.at("SWYELLOW").size(), QSize(32, 32));
    const QIcon icon = ButtonIcon(buttons, "RECORDU", "RECORDD");
    EXPECT_FALSE(icon.isNull());

    // A contact sheet of every picture, to look at.
    QImage sheet(1000, 700, QImage::Format_RGB32);
    sheet.fill(QColor(40, 40, 40));
    QPainter p(&sheet);
    int x = 4;
    int y = 4;
    int rowHeight = 0;
    for (const auto& [name, image] : buttons) {
        if (x + image.width() > sheet.width()) {
            x = 4;
            y += rowHeight + 4;
            rowHeight = 0;
        }
        p.drawImage(x, y, image);
        x += image.width() + 4;
        rowHeight = std::max(rowHeight, image.height());
    }
    p.end();
    EXPECT_TRUE(sheet.save(QString(PELOR_BINARY_DIR) + "/artwork_buttons.png"));
}

}  // namespace
}  // namespace pelor::ui
