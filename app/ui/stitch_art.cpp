#include "app/ui/stitch_art.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>

QPixmap PaintedPixmap(QSize size, qreal ratio, const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return pixmap;
}

void DrawCrossStitch(QPainter& p, const QRectF& cell, const QColor& color, qreal width) {
  p.save();
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
  QRectF r = cell.adjusted(width / 2, width / 2, -width / 2, -width / 2);
  p.drawLine(r.topLeft(), r.bottomRight());
  p.drawLine(r.bottomLeft(), r.topRight());
  p.restore();
}

void DrawStitchedHeart(QPainter& p, const QRectF& area, const QColor& color, qreal width) {
  static constexpr const char* kRows[5] = {".X.X.", "XXXXX", "XXXXX", ".XXX.", "..X.."};
  qreal cell = area.width() / 5;
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 5; ++col)
      if (kRows[row][col] == 'X')
        DrawCrossStitch(p, QRectF(area.left() + col * cell, area.top() + row * cell, cell, cell),
                        color, width);
}

void DrawArrow(QPainter& p, QPointF from, QPointF to, qreal shaft, const QColor& color) {
  QLineF line(from, to);
  qreal length = line.length();
  qreal head = shaft * 2.4;
  qreal headLength = std::min(length * 0.55, shaft * 2.2);
  // The arrow is built pointing along +x from the origin, then turned into place.
  QPainterPath path;
  path.moveTo(0, -shaft / 2);
  path.lineTo(length - headLength, -shaft / 2);
  path.lineTo(length - headLength, -head / 2);
  path.lineTo(length, 0);
  path.lineTo(length - headLength, head / 2);
  path.lineTo(length - headLength, shaft / 2);
  path.lineTo(0, shaft / 2);
  path.closeSubpath();
  QTransform turn;
  turn.translate(from.x(), from.y());
  turn.rotate(-line.angle());
  p.save();
  p.setPen(QPen(color.darker(170), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(color);
  p.drawPath(turn.map(path));
  p.restore();
}
