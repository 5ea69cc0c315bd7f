#include "app/ui/app_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <map>

#include "app/ui/stitch_art.h"

namespace {

constexpr int kCursorSize = 32;
const QPoint kCrossHot(8, 8);  // centre of the crosshair of the shape tools

std::map<int, QCursor>& Registry() {
  static std::map<int, QCursor> cursors;
  return cursors;
}

// Strokes a path black with a white halo, so the cursor shows on any color.
void StrokeHaloed(QPainter& p, const QPainterPath& path, qreal width = 1.2) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
}

// Fills a shape with `fill`, edged black inside a white halo.
void FillHaloed(QPainter& p, const QPainterPath& path, const QColor& fill) {
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
  p.drawPath(path);
}

// The crosshair of the shape tools, open at its centre so the target pixel stays visible.
QPainterPath Crosshair() {
  QPainterPath cross;
  const qreal x = kCrossHot.x() + 0.5, y = kCrossHot.y() + 0.5;
  cross.moveTo(x, 1);
  cross.lineTo(x, y - 2.5);
  cross.moveTo(x, y + 2.5);
  cross.lineTo(x, 16);
  cross.moveTo(1, y);
  cross.lineTo(x - 2.5, y);
  cross.moveTo(x + 2.5, y);
  cross.lineTo(16, y);
  return cross;
}

void DrawCircleTool(QPainter& p) {
  StrokeHaloed(p, Crosshair());
  QPainterPath circle;
  circle.addEllipse(QPointF(22.5, 22.5), 7, 7);
  StrokeHaloed(p, circle, 1.4);
}

void DrawSquareTool(QPainter& p) {
  StrokeHaloed(p, Crosshair());
  QPainterPath square;
  square.addRect(QRectF(15.5, 15.5, 14, 14));
  StrokeHaloed(p, square, 1.4);
}

void DrawLineTool(QPainter& p) {
  StrokeHaloed(p, Crosshair());
  QPainterPath line;
  line.moveTo(15.5, 29.5);
  line.lineTo(29.5, 15.5);
  StrokeHaloed(p, line, 1.6);
}

void DrawPenTool(QPainter& p) {
  p.translate(1, 30);
  p.rotate(-45);
  QPainterPath point;
  point.moveTo(0, 0);
  point.lineTo(8, -4);
  point.lineTo(8, 4);
  point.closeSubpath();
  QPainterPath body;
  body.addRect(QRectF(8, -4, 18, 8));
  QPainterPath eraser;
  eraser.addRoundedRect(QRectF(26, -4, 6, 8), 1.5, 1.5);
  FillHaloed(p, body, QColor(0xf5, 0xb8, 0x1c));
  FillHaloed(p, eraser, QColor(0xec, 0x86, 0x96));
  FillHaloed(p, point, QColor(0xf2, 0xc9, 0x8f));
  QPainterPath lead;
  lead.moveTo(0, 0);
  lead.lineTo(3, -1.5);
  lead.lineTo(3, 1.5);
  lead.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPath(lead);
}

void DrawPickupTool(QPainter& p) {
  p.translate(1, 30);
  p.rotate(-45);
  // Along +x from the tip: the glass tube, the collar, the rubber bulb.
  QPainterPath tube;
  tube.moveTo(0, 0);
  tube.lineTo(3, -1.8);
  tube.lineTo(17, -1.8);
  tube.lineTo(17, 1.8);
  tube.lineTo(3, 1.8);
  tube.closeSubpath();
  QPainterPath collar;
  collar.addRect(QRectF(17, -4, 4, 8));
  QPainterPath bulb;
  bulb.addRoundedRect(QRectF(21, -3.5, 10, 7), 3.5, 3.5);
  FillHaloed(p, tube, QColor(0xdd, 0xee, 0xff));
  FillHaloed(p, collar, QColor(0x90, 0x98, 0xa4));
  FillHaloed(p, bulb, QColor(0x30, 0x30, 0x30));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xc8, 0x28, 0x3c));
  p.drawRect(QRectF(1.5, -0.9, 7, 1.8));
}

void DrawFillTool(QPainter& p) {
  // A paint tin tipped to the left, pouring onto the hot spot below its lip.
  QPainterPath paint;
  paint.moveTo(9, 13);
  paint.cubicTo(3, 14, 2.5, 20, 2.5, 24);
  paint.lineTo(2.5, 29);
  paint.cubicTo(4.5, 27, 5, 22, 6.5, 19);
  paint.closeSubpath();
  p.save();
  p.translate(18, 15);
  p.rotate(-40);
  QPainterPath tin;
  tin.addRect(QRectF(-8, -6, 16, 15));
  QPainterPath rim;
  rim.addEllipse(QRectF(-8, -9, 16, 6));
  QPainterPath handle;
  handle.moveTo(-8, -4);
  handle.cubicTo(-8, -15, 8, -15, 8, -4);
  StrokeHaloed(p, handle, 1.3);
  FillHaloed(p, tin, QColor(0xb8, 0xbe, 0xc6));
  FillHaloed(p, rim, QColor(0x2f, 0x5f, 0xc4));
  p.restore();
  FillHaloed(p, paint, QColor(0x2f, 0x5f, 0xc4));
}

QCursor MakeCursor(void (*draw)(QPainter&), QPoint hot) {
  QPixmap pixmap =
      PaintedPixmap(QSize(kCursorSize, kCursorSize), 1.0, [draw](QPainter& p) { draw(p); });
  return QCursor(pixmap, hot.x(), hot.y());
}

}  // namespace

void LoadAppCursors() {
  auto& cursors = Registry();
  if (!cursors.empty()) return;
  cursors.emplace(kCursorCircle, MakeCursor(DrawCircleTool, kCrossHot));
  cursors.emplace(kCursorFill, MakeCursor(DrawFillTool, QPoint(2, 29)));
  cursors.emplace(kCursorPen, MakeCursor(DrawPenTool, QPoint(1, 30)));
  cursors.emplace(kCursorPickup, MakeCursor(DrawPickupTool, QPoint(1, 30)));
  cursors.emplace(kCursorLine, MakeCursor(DrawLineTool, kCrossHot));
  cursors.emplace(kCursorSquare, MakeCursor(DrawSquareTool, kCrossHot));
}

QCursor AppCursor(int number) {
  LoadAppCursors();
  auto found = Registry().find(number);
  return found != Registry().end() ? found->second : QCursor(Qt::ArrowCursor);
}
