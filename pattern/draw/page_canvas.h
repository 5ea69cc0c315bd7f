#pragma once
// A printed page in millimetres: the painter of a paged device and its dots per millimetre,
// and the few drawing steps every page uses.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

#include "base/color.h"
#include "pattern/page_plan.h"

// A palette colour as Qt takes it (TColor keeps red in its low byte).
inline QColor FlossColor(TColor c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// The text face of the printed pages: Liberation Sans where installed.
QFont PageFont(double points, bool bold = false);

class PageCanvas {
 public:
  PageCanvas(QPainter& painter, double dots_per_mm) : painter_(painter), dpmm_(dots_per_mm) {}

  QPainter& Painter() { return painter_; }
  double Dots(double mm) const { return mm * dpmm_; }
  QPointF At(double x_mm, double y_mm) const { return {x_mm * dpmm_, y_mm * dpmm_}; }
  QRectF Rect(double x, double y, double width, double height) const {
    return {x * dpmm_, y * dpmm_, width * dpmm_, height * dpmm_};
  }
  QRectF Rect(const MmRect& r) const { return Rect(r.x, r.y, r.width, r.height); }

  // A line `width_mm` wide.
  void Line(double x1, double y1, double x2, double y2, double width_mm, const QColor& color);
  void Fill(const MmRect& r, const QColor& color);
  void Frame(const MmRect& r, double width_mm, const QColor& color);
  // One line of text in `font` inside `box`, aligned by `flags` (Qt::AlignLeft |
  // Qt::AlignVCenter...), cut short with an ellipsis when it is wider than the box.
  // The width of `text` in `font`, in millimetres.
  double TextWidth(const QString& text, const QFont& font) const;
  void Text(const MmRect& box, const QString& text, const QFont& font, int flags,
            const QColor& color = Qt::black);

 private:
  QPainter& painter_;
  double dpmm_;
};
