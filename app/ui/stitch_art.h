#pragma once
// Drawing pieces shared by the toolbar glyphs, the cursors, the logo and the program icon.

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <functional>

class QPainter;

// A transparent pixmap of `size` logical pixels at `ratio` device pixels each, painted
// antialiased by `draw` in logical coordinates.
QPixmap PaintedPixmap(QSize size, qreal ratio, const std::function<void(QPainter&)>& draw);

// One cross stitch filling `cell`, two diagonal strokes of width `width`.
void DrawCrossStitch(QPainter& p, const QRectF& cell, const QColor& color, qreal width);

// A heart of 5x5 cross stitches filling the square `area`.
void DrawStitchedHeart(QPainter& p, const QRectF& area, const QColor& color, qreal width);

// A solid arrow from `from` to `to` with a triangular head, filled with `color` and edged
// with a darker line.
void DrawArrow(QPainter& p, QPointF from, QPointF to, qreal shaft, const QColor& color);
