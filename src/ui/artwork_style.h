#pragma once
// Shared palette and small drawing helpers of the built-in artwork.
#include <QColor>
#include <QPainter>
#include <QRectF>

namespace pelor::ui::art {

inline const QColor kGreen(70, 199, 131);
inline const QColor kGreenDim(24, 70, 48);
inline const QColor kGreenGlow(70, 199, 131, 70);
inline const QColor kNeedle(255, 112, 52);
inline const QColor kAmber(255, 186, 60);
inline const QColor kRed(226, 62, 56);
inline const QColor kFaceTop(22, 34, 40);
inline const QColor kFaceBottom(8, 13, 16);
inline const QColor kBezelLight(118, 132, 138);
inline const QColor kBezelDark(30, 36, 40);

// A dark instrument face with a bevelled bezel filling `r`.
void Panel(QPainter& p, const QRectF& r, qreal radius);

// A round face with a bevelled bezel.
void RoundFace(QPainter& p, QPointF centre, qreal radius);

// A tapered needle from radius r1 to r2 at angle `degrees` (0 = east, counter-clockwise).
void Needle(QPainter& p, QPointF centre, qreal degrees, qreal r1, qreal r2, qreal width,
            const QColor& color);

// Tick marks along an arc: `count` intervals from `startDeg` sweeping `spanDeg` (negative:
// clockwise), every `major`-th one long.
void Ticks(QPainter& p, QPointF centre, qreal radius, qreal startDeg, qreal spanDeg, int count,
           int major, const QColor& color);

// A lit or unlit segment of a bar, with a soft glow when lit.
void Segment(QPainter& p, const QRectF& r, bool lit, const QColor& on);

QPointF Polar(QPointF centre, qreal radius, qreal degrees);

}  // namespace pelor::ui::art
