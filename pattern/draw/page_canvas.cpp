#include "pattern/draw/page_canvas.h"

#include <QFontMetricsF>
#include <QPen>

QFont PageFont(double points, bool bold) {
  QFont font("Liberation Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

void PageCanvas::Line(double x1, double y1, double x2, double y2, double width_mm,
                      const QColor& color) {
  QPen pen(color, Dots(width_mm));
  pen.setCapStyle(Qt::FlatCap);
  painter_.setPen(pen);
  painter_.drawLine(At(x1, y1), At(x2, y2));
}

void PageCanvas::Fill(const MmRect& r, const QColor& color) {
  painter_.fillRect(Rect(r), color);
}

void PageCanvas::Frame(const MmRect& r, double width_mm, const QColor& color) {
  QPen pen(color, Dots(width_mm));
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(Rect(r));
}

double PageCanvas::TextWidth(const QString& text, const QFont& font) const {
  return QFontMetricsF(font, painter_.device()).horizontalAdvance(text) / dpmm_;
}

void PageCanvas::Text(const MmRect& box, const QString& text, const QFont& font, int flags,
                      const QColor& color) {
  painter_.setFont(font);
  painter_.setPen(color);
  const QRectF rect = Rect(box);
  // A line too long for its box ends in an ellipsis rather than running into its neighbour.
  const QFontMetricsF metrics(font, painter_.device());
  painter_.drawText(rect, flags, metrics.elidedText(text, Qt::ElideRight, rect.width()));
}
