#include "design/ui/rubber_band.h"

#include <QPainter>
#include <QPolygon>

namespace {

QRect Box(QPoint a, QPoint b) {
  return QRect(a, b).normalized();
}

// The outline itself, in one pen.
void Trace(QPainter& painter, const RubberBand& band) {
  const QRect box = Box(band.from, band.to);
  if (band.tool == DesignTool::Line)
    painter.drawLine(band.from, band.to);
  else if (IsEllipse(band.tool))
    painter.drawEllipse(box.left(), box.top(), box.width() - 1, box.height() - 1);
  else
    painter.drawPolyline(QPolygon(
        {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft(), box.topLeft()}));
}

}  // namespace

void RubberBand::Draw(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::white, 0, Qt::SolidLine));
  Trace(painter, *this);
  QPen dashes(Qt::black, 0, Qt::CustomDashLine);
  dashes.setDashPattern({3, 3});
  painter.setPen(dashes);
  Trace(painter, *this);
  painter.restore();
}

QRegion RubberBand::Area() const {
  constexpr int kMargin = 2;
  const QRect box = Box(from, to).adjusted(-kMargin, -kMargin, kMargin, kMargin);
  if (tool != DesignTool::Rectangle && tool != DesignTool::FilledRectangle) return box;
  // A rectangle's band is its four sides: the inside is left alone.
  const int strip = 2 * kMargin + 1;
  QRegion sides(box.left(), box.top(), box.width(), strip);
  sides += QRect(box.left(), box.bottom() - strip + 1, box.width(), strip);
  sides += QRect(box.left(), box.top(), strip, box.height());
  sides += QRect(box.right() - strip + 1, box.top(), strip, box.height());
  return sides;
}
