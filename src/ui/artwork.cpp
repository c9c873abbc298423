#include "ui/artwork.h"

#include <algorithm>
#include <cmath>

#include "display/display_modes.h"
#include "display/gauge_paint.h"

namespace pelor::ui {

namespace {

// The number after `prefix` in `name` ("STRIP10" -> 10), or -1.
int NumberAfter(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size() ||
        name.size() > prefix.size() + 2) {
        return -1;
    }
    int n = 0;
    for (const char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

// A picture file at `zoom` times its size (files are bitmaps: they can only be scaled).
QImage ZoomedFile(const QImage& image, double zoom) {
    if (image.isNull() || zoom == 1.0) return image;
    return image.scaled(ZoomedPixels(image.width(), zoom), ZoomedPixels(image.height(), zoom),
                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

int ZoomedPixels(int size, double zoom) {
    return static_cast<int>(std::lround(size * zoom));
}

QImage BuildGaugePicture(std::string_view name, const display::GaugeStyles& styles,
                         const display::Theme& theme, double zoom) {
    if (const int i = NumberAfter(name, "STRIP"); i >= 0 && i < display::kStyleCount) {
        if (display::StripPictureName(i) != name) return {};  // "STRIP01"
        QImage strip;
        if (!styles[i].pictureFile.empty())
            strip.load(QString::fromStdString(styles[i].pictureFile));
        if (strip.isNull()) return DrawGaugeStrip(i, styles[i], zoom);
        return ZoomedFile(strip, zoom);
    }
    if (const int e = NumberAfter(name, "BACKGROUND");
        e >= 1 && e <= display::kThemeBackgroundCount) {
        if (display::BackgroundPictureName(e) != name) return {};
        QImage image;
        if (!theme.backgroundPaths[e].empty())
            image.load(QString::fromStdString(theme.backgroundPaths[e]));
        if (image.isNull()) return DrawBackground(e, zoom);
        return ZoomedFile(image, zoom);
    }
    return {};
}

PictureMap BuildGaugePictures(const display::GaugeStyles& styles, const display::Theme& theme) {
    PictureMap pictures;
    for (int i = 0; i < display::kStyleCount; ++i) {
        const std::string name = display::StripPictureName(i);
        pictures[name] = BuildGaugePicture(name, styles, theme);
    }
    for (int e = 1; e <= display::kThemeBackgroundCount; ++e) {
        const std::string name = display::BackgroundPictureName(e);
        pictures[name] = BuildGaugePicture(name, styles, theme);
    }
    return pictures;
}

void PrepareCanvas(QtCanvas& canvas, const display::Display& display) {
    // The source keeps its own copies: the styles and theme are fixed from here on, and the
    // pictures it makes later must match the ones made now.
    canvas.SetPictureSource([styles = display.Styles(), theme = display.GetTheme()](
                                std::string_view name, double zoom) {
        return BuildGaugePicture(name, styles, theme, zoom);
    });
    canvas.PrepareFonts(display.Styles());
}

std::vector<std::string> LayoutStripNames(const display::Display& display) {
    std::vector<std::string> names;
    const display::LayoutState& layout = display.Layout();
    for (int mode = 0; mode < display::kModeCodeCount; ++mode) {
        const int style = display::StyleIndexForMode(mode);
        if (style < 0 || layout.modeUnavailable[static_cast<std::size_t>(mode)]) continue;
        std::string name = display::StripPictureName(style);
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    return names;
}

void PrepareLayoutPictures(QtCanvas& canvas, const display::Display& display) {
    // One background at a time: the others are large (up to 1350 x 1640) and only a change
    // of display type needs another.
    const std::string background = display.BackgroundPicture();
    for (int e = 1; e <= display::kThemeBackgroundCount; ++e) {
        const std::string name = display::BackgroundPictureName(e);
        if (name != background) canvas.ReleasePicture(name);
    }
    if (!background.empty()) canvas.EnsurePicture(background);
}

void ApplyCanvasLayout(QtCanvas& canvas, const display::Display& display) {
    PrepareLayoutPictures(canvas, display);
    const display::PictureSize size = display.BufferSize();
    const core::Rect& a = display.Layout().scaledGaugeArea;
    canvas.ResetBuffer(size.width, size.height, display.BackgroundPicture(), a.x + a.width + 20,
                       a.y + a.height + 20);
}

}  // namespace pelor::ui
