#pragma once
// The program's artwork, drawn once as PNG files under resources/art/ and compiled in with
// Qt's resource system (art.qrc). Each picture `NAME.png` has a sharp `NAME@2x.png` beside
// it for screens of two device pixels per pixel.

#include <QIcon>
#include <QPixmap>
#include <QString>

// `:/art/` + `name` without ".png"; names are relative to resources/art/ ("toolbar/BtnOpen").
QString ArtPath(const QString& name, qreal ratio = 1);
// The picture `name` for a screen of `ratio` device pixels per pixel: the 2x file, marked
// as such, from a ratio of 1.5 up; null when there is no such picture.
QPixmap ArtPixmap(const QString& name, qreal ratio);
// Both sizes of `name` in one icon; an empty icon when there is no such picture.
QIcon ArtIcon(const QString& name);
// The highest device pixel ratio of the screens, 1 before a GUI application exists.
qreal ScreenRatio();
