#include "app/ui/art_resources.h"

#include <QGuiApplication>

// The resources live in a static library, whose unreferenced objects the linker drops:
// registering them by hand keeps them in every program and test that draws. (Outside any
// namespace: the macro declares the generated function where it stands.)
static void RegisterArt() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(art);
    return true;
  }();
  (void)registered;
}

QString ArtPath(const QString& name, qreal ratio) {
  return QStringLiteral(":/art/") + name +
         (ratio >= 1.5 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
}

QPixmap ArtPixmap(const QString& name, qreal ratio) {
  RegisterArt();
  const bool sharp = ratio >= 1.5;
  QPixmap pixmap(ArtPath(name, ratio));
  if (!pixmap.isNull()) pixmap.setDevicePixelRatio(sharp ? 2 : 1);
  return pixmap;
}

QIcon ArtIcon(const QString& name) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) {
    QPixmap pixmap = ArtPixmap(name, ratio);
    if (!pixmap.isNull()) icon.addPixmap(pixmap);
  }
  return icon;
}

qreal ScreenRatio() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return app ? app->devicePixelRatio() : 1.0;
}
