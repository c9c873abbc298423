#include "ui/gauge_area.h"

#include <QPainter>

namespace pelor::ui {

GaugeArea::GaugeArea(app::Dashboard& dashboard, QtCanvas& canvas, QWidget* parent)
    : QWidget(parent), dashboard_(dashboard), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GaugeArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    app::Dashboard& d = dashboard_;
    bool rendered = false;
    if (renderPending_.exchange(false)) {
        display::PaintOptions options;
        options.showGrid = d.page.m_bShowGrid != 0;
        options.clearFirst = true;
        options.staleMask = d.StaleMask();
        options.banner = d.Banner();
        // A paint never sees half of a reader's pass: the store is held for the whole paint.
        std::lock_guard lock(d.channels.mutex);
        d.display.Paint(canvas_, d.channels, options);
        rendered = true;
    }
    // The web bitmap is written by the dashboard's next step, outside the paint and the lock.
    if (rendered && d.project.webBitmapEnabled) {
        const auto& layout = d.display.Layout();
        d.KeepWebBitmap(canvas_.GaugeAreaPixels(layout.scaledGaugeArea, layout.gaugeArea.width,
                                                layout.gaugeArea.height));
    }
    // The window image is made at the screen's pixels (the zoom times the device pixel ratio):
    // on a HiDPI screen it is drawn at its size in the widget's units, pixel for pixel.
    const QImage& image = canvas_.WindowImage();
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1.0) {
        painter.drawImage(0, 0, image);
    } else {
        painter.drawImage(QRectF(0, 0, image.width() / ratio, image.height() / ratio), image);
    }
}

}  // namespace pelor::ui
