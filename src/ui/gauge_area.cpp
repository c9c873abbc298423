#include "ui/gauge_area.h"

#include <QPainter>

namespace pelor::ui {

GaugeArea::GaugeArea(app::Dashboard& dashboard, QWidget* parent)
    : QWidget(parent), dashboard_(dashboard) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(800, 540);
}

void GaugeArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // A paint never sees half of a reader's pass: the store is held for the whole paint.
    std::lock_guard lock(dashboard_.channels.mutex);
    dashboard_.channels.m_bRedrawAll = 1;
}

}  // namespace pelor::ui
