// Background pictures: a deep night-blue face with a fine brushed texture, a faint compass
// rose and a thin bezel line, quiet enough that the gauges stand out.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "ui/artwork.h"
#include "ui/artwork_style.h"

namespace pelor::ui {

namespace {

void CompassRose(QPainter& p, QPointF centre, qreal r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor line(70, 199, 131, 18);
    p.setPen(QPen(line, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r, r);
    p.drawEllipse(centre, r * 0.82, r * 0.82);
    for (int i = 0; i < 72; ++i) {
        const qreal a = i * 5;
        const qreal len = (i % 18 == 0) ? r * 0.14 : (i % 2 == 0 ? r * 0.06 : r * 0.03);
        p.drawLine(art::Polar(centre, r, a), art::Polar(centre, r - len, a));
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * 45;
        const qreal reach = (i % 2 == 0) ? r * 0.78 : r * 0.45;
        QPainterPath petal;
        petal.moveTo(centre);
        petal.lineTo(art::Polar(centre, r * 0.1, a + 45));
        petal.lineTo(art::Polar(centre, reach, a));
        petal.lineTo(art::Polar(centre, r * 0.1, a - 45));
        petal.closeSubpath();
        p.setBrush(QColor(70, 199, 131, i % 2 == 0 ? 20 : 12));
        p.drawPath(petal);
    }
    p.restore();
}

}  // namespace

QImage DrawBackground(int entry, double zoom) {
    const auto size = (entry >= 1 && entry <= display::kThemeBackgroundCount)
                          ? display::kBackgroundSizes[entry]
                          : display::PictureSize{800, 540};
    QImage image(std::max(ZoomedPixels(size.width, zoom), 1),
                 std::max(ZoomedPixels(size.height, zoom), 1), QImage::Format_RGB32);
    QPainter p(&image);
    p.scale(zoom, zoom);
    QLinearGradient sky(0, 0, 0, size.height);
    sky.setColorAt(0, QColor(14, 28, 38));
    sky.setColorAt(1, QColor(3, 8, 12));
    const QRect whole(0, 0, size.width, size.height);
    p.fillRect(whole, sky);
    // Brushed texture: faint horizontal lines.
    for (int y = 0; y < size.height; y += 3) {
        p.setPen(QColor(255, 255, 255, (y / 3) % 4 == 0 ? 5 : 2));
        p.drawLine(0, y, size.width, y);
    }
    // Vignette.
    QRadialGradient vignette(QPointF(size.width * 0.5, size.height * 0.45),
                             std::max(size.width, size.height) * 0.75);
    vignette.setColorAt(0, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 120));
    p.fillRect(whole, vignette);
    const qreal r = std::min(size.width, size.height) * 0.36;
    CompassRose(p, QPointF(size.width * 0.62, size.height * 0.52), r);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(60, 84, 92), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, size.width - 12, size.height - 12), 12, 12);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.drawRoundedRect(QRectF(8.5, 8.5, size.width - 17, size.height - 17), 10, 10);
    return image;
}

}  // namespace pelor::ui
