#include "app/ui/app_logo.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include "app/ui/stitch_art.h"

namespace {

const QColor kStitch(0xc8, 0x28, 0x3c);
const QColor kFabric(0xf7, 0xf1, 0xe1);
const QColor kWood(0xb0, 0x7a, 0x3a);

qreal ScreenRatio() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return app ? app->devicePixelRatio() : 1.0;
}

void DrawLogo(QPainter& p) {
  const QRectF patch(1.5, 5.5, 31, 31);
  p.setPen(QPen(QColor(0xa8, 0x9f, 0x86), 1));
  p.setBrush(kFabric);
  p.drawRoundedRect(patch, 3, 3);
  DrawStitchedHeart(p, patch.adjusted(3, 3, -3, -3), kStitch, 1.6);

  // The name takes the rest of the width; the size shrinks until it fits whatever font
  // the machine substitutes.
  const QRectF room(36, 0, 81, 42);
  const QString name = QStringLiteral("PunTel");
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  for (int pixels = 26; pixels > 8; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetricsF(font).horizontalAdvance(name) <= room.width()) break;
  }
  p.setFont(font);
  p.setPen(QColor(0x24, 0x3a, 0x6e));
  p.drawText(room, Qt::AlignLeft | Qt::AlignVCenter, name);
}

// The icon drawn on a 64-unit square, as in puntel.svg.
void DrawIcon(QPainter& p, int size) {
  p.scale(size / 64.0, size / 64.0);
  const QPointF centre(32, 34);
  p.setPen(Qt::NoPen);
  p.setBrush(kFabric);
  p.drawEllipse(centre, 25, 25);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kWood, 6));
  p.drawEllipse(centre, 26, 26);
  p.setPen(QPen(QColor(0xde, 0xae, 0x6e), 1.5));
  p.drawEllipse(centre, 27.5, 27.5);
  p.setPen(QPen(QColor(0x7a, 0x4e, 0x1e), 1.2));
  p.drawEllipse(centre, 29.4, 29.4);
  p.drawEllipse(centre, 22.6, 22.6);
  // The clasp that tightens the hoop.
  p.setPen(QPen(QColor(0x4c, 0x52, 0x5c), 1.2));
  p.setBrush(QColor(0x9a, 0xa2, 0xae));
  p.drawRoundedRect(QRectF(26, 1.5, 12, 8), 2, 2);
  p.drawRect(QRectF(30, 0.8, 4, 2));
  DrawStitchedHeart(p, QRectF(14.5, 16.5, 35, 35), kStitch, 3.2);
}

}  // namespace

QPixmap LogoPixmap() {
  return PaintedPixmap(QSize(118, 42), ScreenRatio(), DrawLogo);
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(
        PaintedPixmap(QSize(size, size), 1.0, [size](QPainter& p) { DrawIcon(p, size); }));
  return icon;
}
