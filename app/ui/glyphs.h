#pragma once
// The program's artwork: the toolbar glyphs here, the design editor's cursors and the
// logo and program icon in the headers included below.

#include <QIcon>
#include <QString>

#include "app/ui/app_cursors.h"
#include "app/ui/app_logo.h"

// The glyph of a frame toolbar button, by the button's name ("BtnOpen", "BtnSave", ...):
// 24x24 with a sharp 2x version. An unknown name gives an empty icon.
QIcon ToolbarGlyph(const QString& button_name);
