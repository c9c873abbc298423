#include "ui/artwork_style.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace pelor::ui::art {

QPointF Polar(QPointF centre, qreal radius, qreal degrees) {
    const qreal a = qDegreesToRadians(degrees);
    return {centre.x() + radius * qCos(a), centre.y() - radius * qSin(a)};
}

void Panel(QPainter& p, const QRectF& r, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient bezel(r.topLeft(), r.bottomLeft());
    bezel.setColorAt(0, kBezelLight);
    bezel.setColorAt(0.5, QColor(58, 68, 74));
    bezel.setColorAt(1, kBezelDark);
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const QRectF face = r.adjusted(2.5, 2.5, -2.5, -2.5);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, kFaceTop);
    fill.setColorAt(1, kFaceBottom);
    p.setBrush(fill);
    p.drawRoundedRect(face, std::max<qreal>(radius - 2, 0), std::max<qreal>(radius - 2, 0));
    // A faint glass reflection across the upper part.
    QLinearGradient glass(face.topLeft(), QPointF(face.left(), face.top() + face.height() * 0.5));
    glass.setColorAt(0, QColor(255, 255, 255, 22));
    glass.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(glass);
    p.drawRoundedRect(face, std::max<qreal>(radius - 2, 0), std::max<qreal>(radius - 2, 0));
    p.restore();
}

void RoundFace(QPainter& p, QPointF centre, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient bezel(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    bezel.setColorAt(0, QColor(150, 164, 170));
    bezel.setColorAt(0.45, QColor(60, 70, 76));
    bezel.setColorAt(1, QColor(20, 24, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(centre, radius, radius);
    const qreal inner = radius - std::max<qreal>(3, radius * 0.06);
    QRadialGradient face(centre - QPointF(0, inner * 0.3), inner * 1.3);
    face.setColorAt(0, QColor(28, 42, 50));
    face.setColorAt(1, QColor(5, 9, 11));
    p.setBrush(face);
    p.drawEllipse(centre, inner, inner);
    p.restore();
}

void Needle(QPainter& p, QPointF centre, qreal degrees, qreal r1, qreal r2, qreal width,
            const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF base = Polar(centre, r1, degrees);
    const QPointF tip = Polar(centre, r2, degrees);
    const QPointF side = Polar(QPointF(0, 0), width / 2, degrees + 90);
    QPainterPath path;
    path.moveTo(base + side);
    path.lineTo(tip + side * 0.25);
    path.lineTo(tip - side * 0.25);
    path.lineTo(base - side);
    path.closeSubpath();
    QColor glow = color;
    glow.setAlpha(70);
    p.setPen(QPen(glow, width * 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
    p.restore();
}

void Ticks(QPainter& p, QPointF centre, qreal radius, qreal startDeg, qreal spanDeg, int count,
           int major, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i <= count; ++i) {
        const qreal a = startDeg + spanDeg * i / count;
        const bool isMajor = major > 0 && i % major == 0;
        const qreal len = isMajor ? radius * 0.16 : radius * 0.08;
        p.setPen(QPen(color, isMajor ? std::max<qreal>(1.6, radius * 0.035) : 1.0, Qt::SolidLine,
                      Qt::FlatCap));
        p.drawLine(Polar(centre, radius - len, a), Polar(centre, radius, a));
    }
    p.restore();
}

void Segment(QPainter& p, const QRectF& r, bool lit, const QColor& on) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (lit) {
        QColor glow = on;
        glow.setAlpha(60);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), 2.5, 2.5);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, on.lighter(135));
        g.setColorAt(1, on);
        p.setBrush(g);
    } else {
        p.setPen(QPen(QColor(40, 58, 60), 1));
        p.setBrush(QColor(16, 26, 28));
    }
    p.drawRoundedRect(r, 1.5, 1.5);
    p.restore();
}

}  // namespace pelor::ui::art
