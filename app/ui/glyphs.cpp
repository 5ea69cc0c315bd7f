#include "app/ui/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "app/ui/stitch_art.h"

namespace {

constexpr int kGlyphSize = 24;

const QColor kInk(0x2b, 0x2b, 0x2b);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kPaperEdge(0x6b, 0x6b, 0x6b);
const QColor kGreen(0x2e, 0xa0, 0x43);
const QColor kStitchRed(0xc8, 0x28, 0x3c);
const QColor kStitchBlue(0x2a, 0x5d, 0xb0);
const QColor kAida(0xf4, 0xee, 0xdc);
const QColor kSwatches[9] = {{0xd6, 0x2d, 0x2d}, {0xf0, 0x8a, 0x24}, {0xf2, 0xd0, 0x2c},
                             {0x3f, 0xa3, 0x4d}, {0x23, 0x9b, 0xa8}, {0x2f, 0x5f, 0xc4},
                             {0x7e, 0x45, 0xb5}, {0xe0, 0x6c, 0xa8}, {0x8a, 0x5a, 0x32}};

QPen Edge(const QColor& color, qreal width = 1) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with its top right corner folded down.
void DrawPage(QPainter& p, QRectF r, qreal fold) {
  QPolygonF sheet({r.topLeft(),
                   {r.right() - fold, r.top()},
                   {r.right(), r.top() + fold},
                   r.bottomRight(),
                   r.bottomLeft()});
  p.setPen(Edge(kPaperEdge));
  p.setBrush(kPaper);
  p.drawPolygon(sheet);
  p.setBrush(QColor(0xd8, 0xd8, 0xd8));
  p.drawPolygon(QPolygonF({{r.right() - fold, r.top()},
                           {r.right() - fold, r.top() + fold},
                           {r.right(), r.top() + fold}}));
}

// Color swatches in a grid, `count` wide and high, from the swatch list.
void DrawSwatches(QPainter& p, QRectF area, int count, int first = 0) {
  qreal step = area.width() / count;
  p.setPen(Edge(kInk.lighter(130)));
  for (int row = 0; row < count; ++row)
    for (int col = 0; col < count; ++col) {
      p.setBrush(kSwatches[(first + row * count + col) % 9]);
      p.drawRect(QRectF(area.left() + col * step + 0.5, area.top() + row * step + 0.5, step - 1.5,
                        step - 1.5));
    }
}

void DrawOpen(QPainter& p) {
  p.setPen(Edge(QColor(0x8a, 0x62, 0x0e)));
  p.setBrush(QColor(0xe0, 0xae, 0x3a));
  p.drawPolygon(
      QPolygonF({{2.5, 4.5}, {9, 4.5}, {11, 6.5}, {19.5, 6.5}, {19.5, 19.5}, {2.5, 19.5}}));
  p.setBrush(QColor(0xf7, 0xd3, 0x6b));
  p.drawPolygon(QPolygonF({{6, 10.5}, {23, 10.5}, {19.5, 19.5}, {2.5, 19.5}}));
}

void DrawSave(QPainter& p) {
  p.setPen(Edge(QColor(0x1b, 0x2f, 0x5c)));
  p.setBrush(QColor(0x35, 0x5f, 0xb0));
  p.drawPolygon(QPolygonF({{2.5, 2.5}, {18.5, 2.5}, {21.5, 5.5}, {21.5, 21.5}, {2.5, 21.5}}));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xcf, 0xd6, 0xdf));
  p.drawRect(QRectF(7, 3, 10, 6.5));
  p.setBrush(QColor(0x35, 0x5f, 0xb0));
  p.drawRect(QRectF(13.5, 4, 2, 4.5));
  p.setBrush(kPaper);
  p.drawRect(QRectF(5.5, 12.5, 13, 8));
  p.setPen(Edge(QColor(0x9a, 0xa6, 0xb8)));
  p.drawLine(QPointF(7.5, 15.5), QPointF(16.5, 15.5));
  p.drawLine(QPointF(7.5, 18), QPointF(16.5, 18));
}

void DrawNewWin(QPainter& p) {
  DrawPage(p, QRectF(4.5, 1.5, 14, 20), 5);
  p.setPen(Edge(kGreen.darker(150)));
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(17.5, 17.5), 5.5, 5.5);
  p.setPen(Edge(kPaper, 2));
  p.drawLine(QPointF(17.5, 14.5), QPointF(17.5, 20.5));
  p.drawLine(QPointF(14.5, 17.5), QPointF(20.5, 17.5));
}

void DrawCharTbl(QPainter& p) {
  const QRectF area(2.5, 2.5, 19, 19);
  p.setPen(Edge(kPaperEdge));
  p.setBrush(kPaper);
  p.drawRect(area);
  const qreal cell = area.width() / 3;
  for (int i = 1; i < 3; ++i) {
    p.drawLine(QPointF(area.left() + i * cell, area.top()),
               QPointF(area.left() + i * cell, area.bottom()));
    p.drawLine(QPointF(area.left(), area.top() + i * cell),
               QPointF(area.right(), area.top() + i * cell));
  }
  auto centre = [&](int col, int row) {
    return QPointF(area.left() + (col + 0.5) * cell, area.top() + (row + 0.5) * cell);
  };
  const qreal h = 1.9;  // half a symbol
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRect(QRectF(centre(0, 0) - QPointF(h, h), QSizeF(2 * h, 2 * h)));
  p.drawEllipse(centre(1, 1), h + 0.2, h + 0.2);
  QPointF t = centre(2, 0);
  p.drawPolygon(QPolygonF(
      {{t.x(), t.y() - h - 0.3}, {t.x() + h + 0.3, t.y() + h}, {t.x() - h - 0.3, t.y() + h}}));
  QPointF d = centre(0, 2);
  p.drawPolygon(QPolygonF({{d.x(), d.y() - h - 0.4},
                           {d.x() + h + 0.4, d.y()},
                           {d.x(), d.y() + h + 0.4},
                           {d.x() - h - 0.4, d.y()}}));
  p.setPen(Edge(kInk, 1.3));
  p.setBrush(Qt::NoBrush);
  for (QPointF c : {centre(1, 0), centre(2, 2)}) {
    p.drawLine(c + QPointF(-h, -h), c + QPointF(h, h));
    p.drawLine(c + QPointF(-h, h), c + QPointF(h, -h));
  }
  for (QPointF c : {centre(0, 1), centre(1, 2)}) {
    p.drawLine(c + QPointF(0, -h), c + QPointF(0, h));
    p.drawLine(c + QPointF(-h, 0), c + QPointF(h, 0));
  }
  p.drawEllipse(centre(2, 1), h, h);
}

void DrawColorTable(QPainter& p) {
  DrawSwatches(p, QRectF(2, 2, 21, 21), 3);
}

void DrawLoadColors(QPainter& p) {
  DrawSwatches(p, QRectF(9, 6, 14, 14), 2, 3);
  DrawArrow(p, QPointF(1.5, 13), QPointF(11.5, 13), 3.5, kGreen);
}

void DrawColorSearch(QPainter& p) {
  DrawSwatches(p, QRectF(1, 1, 14, 14), 2);
  p.setPen(Edge(QColor(0x4a, 0x32, 0x1c), 3.5));
  p.drawLine(QPointF(17.5, 17.5), QPointF(21.5, 21.5));
  p.setPen(Edge(kInk, 1.6));
  p.setBrush(QColor(0xcf, 0xe8, 0xff, 170));
  p.drawEllipse(QPointF(13.5, 13.5), 5.8, 5.8);
  p.setPen(Edge(QColor(255, 255, 255, 220), 1.2));
  p.drawArc(QRectF(10.2, 10.2, 6.6, 6.6), 100 * 16, 70 * 16);
}

void DrawDesign(QPainter& p) {
  p.save();
  p.translate(3, 21);
  p.rotate(-45);
  // Along +x from the tip at the origin: point, wood, body, band, eraser.
  p.setPen(Edge(kInk));
  p.setBrush(QColor(0xf2, 0xc9, 0x8f));
  p.drawPolygon(QPolygonF({{0, 0}, {6, -3}, {6, 3}}));
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF({{0, 0}, {2.2, -1.1}, {2.2, 1.1}}));
  p.setBrush(QColor(0xf5, 0xb8, 0x1c));
  p.drawRect(QRectF(6, -3, 12, 6));
  p.setPen(Edge(QColor(0xc2, 0x86, 0x00)));
  p.drawLine(QPointF(6.5, 0), QPointF(17.5, 0));
  p.setPen(Edge(kInk));
  p.setBrush(QColor(0xb8, 0xbe, 0xc6));
  p.drawRect(QRectF(18, -3, 2.5, 6));
  p.setBrush(QColor(0xec, 0x86, 0x96));
  p.drawRoundedRect(QRectF(20.5, -3, 3.5, 6), 1.2, 1.2);
  p.restore();
}

void DrawExit(QPainter& p) {
  p.setPen(Edge(QColor(0x4a, 0x4a, 0x4a)));
  p.setBrush(QColor(0x3a, 0x3a, 0x3a));
  p.drawRect(QRectF(3.5, 2.5, 11, 19));
  p.setPen(Edge(QColor(0x5e, 0x38, 0x16)));
  p.setBrush(QColor(0xa8, 0x6b, 0x32));
  p.drawPolygon(QPolygonF({{3.5, 2.5}, {10.5, 4.5}, {10.5, 23}, {3.5, 21.5}}));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf2, 0xd0, 0x2c));
  p.drawEllipse(QPointF(9, 13), 1, 1);
  DrawArrow(p, QPointF(11.5, 12), QPointF(23, 12), 3.5, QColor(0xd6, 0x3a, 0x2d));
}

void DrawPref(QPainter& p) {
  const QPointF c(12, 12);
  const int teeth = 8;
  QPainterPath gear;
  for (int i = 0; i < teeth * 4; ++i) {
    // Each tooth: two points on the outer radius, two on the root radius.
    qreal angle = (i * 360.0 / (teeth * 4) - 5.6) * M_PI / 180;
    qreal radius = (i % 4 < 2) ? 10.5 : 7.6;
    QPointF at = c + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
    if (i == 0)
      gear.moveTo(at);
    else
      gear.lineTo(at);
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, 3.2, 3.2);
  p.setPen(Edge(QColor(0x3c, 0x44, 0x50)));
  QLinearGradient steel(0, 2, 0, 22);
  steel.setColorAt(0, QColor(0xb4, 0xbe, 0xca));
  steel.setColorAt(1, QColor(0x6c, 0x78, 0x88));
  p.setBrush(steel);
  p.drawPath(gear.subtracted(hole));
}

// A landscape picture in a frame: sky, sun and hills.
void DrawPicture(QPainter& p, QRectF r) {
  p.setPen(Edge(kPaperEdge));
  p.setBrush(QColor(0x9f, 0xd2, 0xf5));
  p.drawRect(r);
  p.save();
  p.setClipRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf7, 0xc9, 0x2c));
  p.drawEllipse(QPointF(r.right() - r.width() * 0.28, r.top() + r.height() * 0.3),
                r.height() * 0.14, r.height() * 0.14);
  p.setBrush(QColor(0x4c, 0x9b, 0x3c));
  QPainterPath hills;
  hills.moveTo(r.left(), r.bottom());
  hills.lineTo(r.left(), r.top() + r.height() * 0.7);
  hills.quadTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.3, r.left() + r.width() * 0.6,
               r.top() + r.height() * 0.75);
  hills.quadTo(r.left() + r.width() * 0.8, r.top() + r.height() * 0.55, r.right(),
               r.top() + r.height() * 0.7);
  hills.lineTo(r.right(), r.bottom());
  hills.closeSubpath();
  p.drawPath(hills);
  p.restore();
}

void DrawImport(QPainter& p) {
  DrawPicture(p, QRectF(6.5, 2.5, 16, 14));
  DrawArrow(p, QPointF(1.5, 22.5), QPointF(11.5, 12.5), 3.5, kGreen);
}

void DrawViewStitch(QPainter& p) {
  const QRectF area(1.5, 1.5, 21, 21);
  p.setPen(Edge(QColor(0xa8, 0x9f, 0x86)));
  p.setBrush(kAida);
  p.drawRect(area);
  const int cells = 4;
  const qreal step = area.width() / cells;
  p.setPen(Edge(QColor(0xd6, 0xcd, 0xb2), 0.6));
  for (int i = 1; i < cells; ++i) {
    p.drawLine(QPointF(area.left() + i * step, area.top()),
               QPointF(area.left() + i * step, area.bottom()));
    p.drawLine(QPointF(area.left(), area.top() + i * step),
               QPointF(area.right(), area.top() + i * step));
  }
  static constexpr const char* kRows[4] = {"RBBR", "BRRB", "BRRB", "RBBR"};
  for (int row = 0; row < cells; ++row)
    for (int col = 0; col < cells; ++col) {
      QRectF cell(area.left() + col * step, area.top() + row * step, step, step);
      DrawCrossStitch(p, cell.adjusted(1, 1, -1, -1),
                      kRows[row][col] == 'R' ? kStitchRed : kStitchBlue, 1.5);
    }
}

void DrawFileViewer(QPainter& p) {
  DrawPicture(p, QRectF(1.5, 1.5, 17, 14));
  // An eye in front of the picture.
  QPainterPath eye;
  eye.moveTo(7, 17);
  eye.quadTo(15, 9, 23, 17);
  eye.quadTo(15, 25, 7, 17);
  p.setPen(Edge(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawPath(eye);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2f, 0x72, 0xc4));
  p.drawEllipse(QPointF(15, 17), 3.4, 3.4);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(15, 17), 1.6, 1.6);
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(16.2, 15.8), 0.8, 0.8);
}

void DrawFlossReport(QPainter& p) {
  DrawPage(p, QRectF(2.5, 1.5, 14, 20), 4);
  for (int i = 0; i < 4; ++i) {
    qreal y = 6.5 + i * 3.8;
    p.setPen(Qt::NoPen);
    p.setBrush(kSwatches[(i * 2) % 9]);
    p.drawRect(QRectF(4.5, y - 1.2, 2.4, 2.4));
    p.setPen(Edge(kPaperEdge, 1.2));
    p.drawLine(QPointF(8.5, y), QPointF(i == 0 ? 12 : 14, y));
  }
  // A spool of red thread with a loose end.
  p.setPen(Edge(QColor(0x6e, 0x45, 0x22)));
  p.setBrush(QColor(0xc9, 0x94, 0x5c));
  p.drawRect(QRectF(14.5, 11.5, 8, 2));
  p.drawRect(QRectF(14.5, 20.5, 8, 2));
  p.setPen(Edge(kStitchRed.darker(140)));
  p.setBrush(kStitchRed);
  p.drawRect(QRectF(15.5, 13.5, 6, 7));
  p.setPen(Edge(kStitchRed.darker(170), 0.8));
  for (qreal y = 15; y < 20.5; y += 1.7) p.drawLine(QPointF(15.7, y), QPointF(21.3, y + 0.6));
  p.setPen(Edge(kStitchRed, 1.1));
  p.setBrush(Qt::NoBrush);
  QPainterPath end;
  end.moveTo(15.5, 16);
  end.cubicTo(12, 17, 14, 22, 10, 23);
  p.drawPath(end);
}

void DrawPrint(QPainter& p) {
  p.setPen(Edge(kPaperEdge));
  p.setBrush(kPaper);
  p.drawRect(QRectF(6.5, 1.5, 11, 9));
  QLinearGradient body(0, 8, 0, 18);
  body.setColorAt(0, QColor(0xb9, 0xc0, 0xc8));
  body.setColorAt(1, QColor(0x7a, 0x84, 0x90));
  p.setPen(Edge(QColor(0x3c, 0x44, 0x50)));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(1.5, 8.5, 21, 10), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(19, 11.5), 1.1, 1.1);
  p.setPen(Edge(kPaperEdge));
  p.setBrush(kPaper);
  p.drawRect(QRectF(5.5, 14.5, 13, 8));
  p.setPen(Edge(kInk.lighter(160)));
  p.drawLine(QPointF(7.5, 17.5), QPointF(16.5, 17.5));
  p.drawLine(QPointF(7.5, 20), QPointF(13.5, 20));
}

void DrawNotes(QPainter& p) {
  const QColor yellow(0xfb, 0xe5, 0x6d);
  p.setPen(Edge(QColor(0xa8, 0x8a, 0x10)));
  p.setBrush(yellow);
  p.drawPolygon(QPolygonF({{2.5, 2.5}, {21.5, 2.5}, {21.5, 16}, {16, 21.5}, {2.5, 21.5}}));
  p.setBrush(yellow.darker(125));
  p.drawPolygon(QPolygonF({{21.5, 16}, {16, 16}, {16, 21.5}}));
  p.setPen(Edge(QColor(0x8c, 0x74, 0x20), 1.2));
  for (qreal y : {7.5, 11.0, 14.5}) p.drawLine(QPointF(5.5, y), QPointF(18.5, y));
  p.drawLine(QPointF(5.5, 18), QPointF(12.5, 18));
}

struct Glyph {
  const char* name;
  void (*draw)(QPainter&);
};

constexpr Glyph kGlyphs[] = {
    {"BtnOpen", DrawOpen},
    {"BtnSave", DrawSave},
    {"BtnNewWin", DrawNewWin},
    {"BtnCharTbl", DrawCharTbl},
    {"BtnColorTable", DrawColorTable},
    {"BtnLoadColors", DrawLoadColors},
    {"BtnColorSearch", DrawColorSearch},
    {"BtnDesign", DrawDesign},
    {"BtnExit", DrawExit},
    {"BtnPref", DrawPref},
    {"BtnImport", DrawImport},
    {"BtnViewStitch", DrawViewStitch},
    {"BtnFileViewer", DrawFileViewer},
    {"BtnFlossReport", DrawFlossReport},
    {"BtnPrint", DrawPrint},
    {"BtnNotes", DrawNotes},
};

}  // namespace

QIcon ToolbarGlyph(const QString& button_name) {
  for (const Glyph& glyph : kGlyphs) {
    if (button_name != QLatin1String(glyph.name)) continue;
    QIcon icon;
    for (qreal ratio : {1.0, 2.0})
      icon.addPixmap(PaintedPixmap(QSize(kGlyphSize, kGlyphSize), ratio, glyph.draw));
    return icon;
  }
  return {};
}
