// The picture strips of the gauge styles: each frame is the whole gauge face with the
// needle, ramp or bar set for that frame; the value and label texts are written over it by
// the paint, so the faces leave their places free (a recessed readout window behind the value).
#include <QPainterPath>
#include <algorithm>

#include "display/display_modes.h"
#include "display/gauge_paint.h"
#include "ui/artwork.h"
#include "ui/artwork_style.h"

namespace pelor::ui {

namespace {

using namespace art;

constexpr int kModeOfStyle[display::kStyleCount] = {
    display::kModeLargeRamp, display::kModeDial,      display::kModeBarText,
    display::kModeBargraph,  display::kModeHugeText,  display::kModeLargeText,
    display::kModeData,      display::kModeSmallText, display::kModeLargeDial,
    display::kModeHistogram, display::kModeIndicator,
};

struct FrameContext {
    const display::GaugeStyle& style;
    qreal w = 0;
    qreal h = 0;
    int frame = 0;
    int frames = 1;
    qreal fraction = 0;  // 0 at frame 0, 1 at the last frame
    QPointF valueAt;     // where the value text lands on the picture
    QPointF labelAt;
};

// A recessed window behind the four value characters.
void Readout(QPainter& p, const FrameContext& c) {
    const qreal h = c.style.valueFontHeight;
    if (h <= 0) return;
    QRectF r(c.valueAt.x() - 6, c.valueAt.y() - 2, h * 2.05 + 12, h + 4);
    r = r.intersected(QRectF(3, 3, c.w - 6, c.h - 6));
    if (r.width() <= 0 || r.height() <= 0) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(2, 6, 7, 235));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1));
    p.drawLine(r.topLeft() + QPointF(2, 0.5), r.topRight() + QPointF(-2, 0.5));
    p.setPen(QPen(QColor(80, 96, 100, 160), 1));
    p.drawLine(r.bottomLeft() + QPointF(2, -0.5), r.bottomRight() + QPointF(-2, -0.5));
    p.restore();
}

QColor ZoneColor(qreal at) {
    if (at >= 0.86) return kRed;
    if (at >= 0.7) return kAmber;
    return kGreen;
}

void DrawDial(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), std::min(c.w, c.h) * 0.12);
    const QPointF centre(c.w / 2, c.h / 2);
    const qreal r = std::min(c.w, c.h) / 2 - 3;
    RoundFace(p, centre, r);
    const qreal start = 225;
    const qreal span = -270;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal track = r * 0.80;
    const QRectF arc(centre.x() - track, centre.y() - track, track * 2, track * 2);
    p.setPen(QPen(kGreenDim, std::max<qreal>(3, r * 0.06), Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, int(start * 16), int(span * 16));
    if (c.fraction > 0) {
        p.setPen(QPen(kGreen, std::max<qreal>(3, r * 0.06), Qt::SolidLine, Qt::FlatCap));
        p.drawArc(arc, int(start * 16), int(span * c.fraction * 16));
    }
    p.restore();
    Ticks(p, centre, r * 0.93, start, span, 10, 5, kGreen);
    Needle(p, centre, start + span * c.fraction, r * 0.5, r * 0.9, std::max<qreal>(4, r * 0.1),
           kNeedle);
}

void DrawLargeRamp(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), 14);
    const QPointF centre(c.w / 2, c.h * 0.53);
    const qreal r = std::min(c.w / 2, c.h * 0.53) - 12;
    const qreal start = 210;
    const qreal span = -240;
    const int segments = std::max(c.frames - 1, 1);
    const qreal thickness = r * 0.15;
    const qreal ring = r - thickness / 2 - r * 0.12;
    const QRectF arc(centre.x() - ring, centre.y() - ring, ring * 2, ring * 2);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 0; i < segments; ++i) {
        const qreal a = start + span * i / segments;
        const qreal step = span / segments;
        const bool lit = i < c.frame;
        QColor color = lit ? ZoneColor(qreal(i + 1) / segments) : QColor(22, 36, 38);
        if (lit) {
            QColor glow = color;
            glow.setAlpha(55);
            p.setPen(QPen(glow, thickness + 5, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(arc, int((a + step * 0.06) * 16), int(step * 0.88 * 16));
        }
        p.setPen(QPen(color, thickness, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(arc, int((a + step * 0.08) * 16), int(step * 0.84 * 16));
    }
    p.restore();
    Ticks(p, centre, r + 6, start, span, segments, 2, kGreen);
}

void DrawHalfDial(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), 14);
    const QPointF pivot(c.w / 2, c.h - 6);
    const qreal r = std::min(c.w / 2 - 12, c.h * 0.42);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Scale band: green, then amber and red at the top end.
    const qreal band = r * 0.86;
    const QRectF arc(pivot.x() - band, pivot.y() - band, band * 2, band * 2);
    p.setPen(QPen(kGreenDim, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, 180 * 16, -180 * 16);
    p.setPen(QPen(kAmber, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, int((180 - 180 * 0.7) * 16), int(-180 * 0.16 * 16));
    p.setPen(QPen(kRed, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(arc, int((180 - 180 * 0.86) * 16), int(-180 * 0.14 * 16));
    p.restore();
    Ticks(p, pivot, r, 180, -180, 10, 2, kGreen);
    Needle(p, pivot, 180 - 180 * c.fraction, 6, r * 0.95, 6, kNeedle);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(90, 100, 106), 1.5));
    p.setBrush(QColor(30, 36, 40));
    p.drawEllipse(pivot, 9, 9);
    p.restore();
}

void DrawVerticalBar(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), 10);
    const int segments = std::max(c.frames - 1, 1);
    const qreal top = 10;
    const qreal bottom = c.h - 10;
    const qreal pitch = (bottom - top) / segments;
    const qreal left = 14;
    const qreal width = std::max<qreal>(20, std::min<qreal>(44, c.valueAt.x() - 34));
    for (int i = 0; i < segments; ++i) {
        const qreal y = bottom - pitch * (i + 1);
        Segment(p, QRectF(left, y + 1.5, width, pitch - 3), i < c.frame,
                ZoneColor(qreal(i + 1) / segments));
    }
    p.save();
    p.setPen(QPen(kGreen, 1));
    for (int i = 0; i <= segments; ++i) {
        const qreal y = bottom - pitch * i;
        const qreal len = (i % 5 == 0) ? 8 : 4;
        p.drawLine(QPointF(left + width + 4, y), QPointF(left + width + 4 + len, y));
    }
    p.restore();
}

void DrawHorizontalBar(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), 8);
    const int segments = std::max(c.frames - 1, 1);
    const qreal left = std::min(c.w * 0.2, 150.0);
    const qreal right = std::max(left + 20, c.valueAt.x() - 14);
    const qreal pitch = (right - left) / segments;
    const qreal top = c.h * 0.22;
    const qreal height = c.h * 0.56;
    for (int i = 0; i < segments; ++i) {
        Segment(p, QRectF(left + pitch * i + 2, top, pitch - 4, height), i < c.frame,
                ZoneColor(qreal(i + 1) / segments));
    }
    p.save();
    p.setPen(QPen(kGreen, 1));
    for (int i = 0; i <= segments; ++i) {
        const qreal x = left + pitch * i;
        p.drawLine(QPointF(x, top + height + 3), QPointF(x, top + height + ((i % 5 == 0) ? 9 : 6)));
    }
    p.restore();
}

void DrawHistogram(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), 8);
    const int columns = std::max(c.frames - 1, 1);
    const qreal left = 12;
    const qreal right = std::max(left + 20, c.valueAt.x() - 12);
    const qreal bottom = c.h - 10;
    const qreal top = std::min(c.labelAt.y() + c.style.labelFontHeight + 4, c.h * 0.45);
    const qreal pitch = (right - left) / columns;
    for (int i = 0; i < columns; ++i) {
        const qreal height = (bottom - top) * (0.25 + 0.75 * (i + 1) / columns);
        Segment(p, QRectF(left + pitch * i + 1, bottom - height, pitch - 2, height), i < c.frame,
                ZoneColor(qreal(i + 1) / columns));
    }
}

void DrawTextPanel(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), std::min<qreal>(10, c.h / 4));
    // A thin divider between label and value, and a level line for multi-frame strips.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal x = c.valueAt.x() - 12;
    if (x > c.labelAt.x() + 8 && c.h >= 30) {
        p.setPen(QPen(QColor(50, 66, 70), 1));
        p.drawLine(QPointF(x, 6), QPointF(x, c.h - 6));
    }
    if (c.frames > 1) {
        const qreal y = c.h - 5;
        p.setPen(QPen(kGreenDim, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, y), QPointF(c.w - 8, y));
        p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap));
        if (c.fraction > 0) p.drawLine(QPointF(8, y), QPointF(8 + (c.w - 16) * c.fraction, y));
    }
    p.restore();
}

// The indicator's face: a panel with the dark glass of its lamp in a bezel. The paint lights
// the lamp (fills it in the value colour) when the indicator is on, so the strip's single
// frame is the lamp off.
void DrawIndicator(QPainter& p, const FrameContext& c) {
    Panel(p, QRectF(0, 0, c.w, c.h), std::min<qreal>(8, c.h / 4));
    const core::Rect lamp =
        display::IndicatorLamp(c.style, display::OffsetsFor(9, display::kModeIndicator));
    const QRectF glass(lamp.x, lamp.y, lamp.width, lamp.height);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(110, 122, 128), 1.5));
    p.setBrush(QColor(30, 38, 42));
    p.drawRoundedRect(glass.adjusted(-3, -3, 3, 3), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(12, 22, 20));
    p.drawRect(glass);
    p.restore();
}

}  // namespace

QImage DrawGaugeStrip(int index, const display::GaugeStyle& style, double zoom) {
    const int w = std::max(style.width, 1);
    const int h = std::max(style.height, 1);
    const int frames = std::clamp(style.frameCount, 1, 64);
    QImage strip(std::max(ZoomedPixels(w * frames, zoom), 1), std::max(ZoomedPixels(h, zoom), 1),
                 QImage::Format_RGB32);
    strip.fill(QColor(6, 12, 16));  // the corners outside rounded faces: near the background
    const int mode = (index >= 0 && index < display::kStyleCount) ? kModeOfStyle[index] : 0;
    // Text positions on the picture: the style's own, moved by the difference between the
    // text and picture offsets of the landscape models.
    const display::GaugeOffsets o = display::OffsetsFor(9, mode);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(zoom, zoom);
    for (int k = 0; k < frames; ++k) {
        p.save();
        p.translate(k * w, 0);
        p.setClipRect(0, 0, w, h);
        FrameContext c{
            style,
            qreal(w),
            qreal(h),
            k,
            frames,
            frames > 1 ? qreal(k) / (frames - 1) : 0,
            QPointF(style.valueX + o.valueX - o.pictureX, style.valueY + o.valueY - o.pictureY),
            QPointF(style.labelX + o.labelX - o.pictureX, style.labelY + o.labelY - o.pictureY)};
        switch (mode) {
            case display::kModeDial:
                DrawDial(p, c);
                break;
            case display::kModeLargeRamp:
                DrawLargeRamp(p, c);
                break;
            case display::kModeLargeDial:
                DrawHalfDial(p, c);
                break;
            case display::kModeBarText:
                DrawVerticalBar(p, c);
                break;
            case display::kModeBargraph:
                DrawHorizontalBar(p, c);
                break;
            case display::kModeHistogram:
                DrawHistogram(p, c);
                break;
            case display::kModeIndicator:
                DrawIndicator(p, c);
                break;
            default:
                DrawTextPanel(p, c);
                break;
        }
        if (mode != display::kModeIndicator && mode != display::kModeDial) Readout(p, c);
        p.restore();
    }
    return strip;
}

}  // namespace pelor::ui
