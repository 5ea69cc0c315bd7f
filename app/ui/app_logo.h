#pragma once
// The program's logo for the frame's toolbar and the about box, and its icon.

#include <QIcon>
#include <QPixmap>

// 118x42: a few cross stitches and the name "PunTel", on a transparent ground.
QPixmap LogoPixmap();
// An embroidery hoop holding a heart of cross stitches (the same picture as puntel.svg).
QIcon AppIcon();
