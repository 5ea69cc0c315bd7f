#include "app/ui/app_logo.h"

#include "app/ui/art_resources.h"

QPixmap LogoPixmap() {
  return ArtPixmap(QStringLiteral("logo"), ScreenRatio());
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(ArtPixmap(QStringLiteral("icon/puntel-%1").arg(size), 1));
  return icon;
}
