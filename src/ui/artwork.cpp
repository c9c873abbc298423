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

}  // namespace pelor::ui
