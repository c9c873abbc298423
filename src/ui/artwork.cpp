#include "ui/artwork.h"

#include "display/gauge_paint.h"

namespace pelor::ui {

PictureMap BuildGaugePictures(const display::GaugeStyles& styles, const display::Theme& theme) {
    PictureMap pictures;
    for (int i = 0; i < display::kStyleCount; ++i) {
        QImage strip;
        if (!styles[i].pictureFile.empty())
            strip.load(QString::fromStdString(styles[i].pictureFile));
        if (strip.isNull()) strip = DrawGaugeStrip(i, styles[i]);
        pictures[display::StripPictureName(i)] = std::move(strip);
    }
    for (int e = 1; e <= display::kThemeBackgroundCount; ++e) {
        QImage image;
        if (!theme.backgroundPaths[e].empty()) {
            image.load(QString::fromStdString(theme.backgroundPaths[e]));
        }
        if (image.isNull()) image = DrawBackground(e);
        pictures[display::BackgroundPictureName(e)] = std::move(image);
    }
    return pictures;
}

void PrepareCanvas(QtCanvas& canvas, const display::Display& display) {
    canvas.SetPictures(BuildGaugePictures(display.Styles(), display.GetTheme()));
    canvas.PrepareFonts(display.Styles());
}

void ApplyCanvasLayout(QtCanvas& canvas, const display::Display& display) {
    const display::PictureSize size = display.BufferSize();
    const core::Rect& a = display.Layout().scaledGaugeArea;
    canvas.ResetBuffer(size.width, size.height, display.BackgroundPicture(), a.x + a.width + 20,
                       a.y + a.height + 20);
}

}  // namespace pelor::ui
