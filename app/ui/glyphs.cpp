#include "app/ui/glyphs.h"

#include "app/ui/art_resources.h"

QIcon ToolbarGlyph(const QString& button_name) {
  // Only plain button names reach the folder; "BtnOpen" is toolbar/BtnOpen.png.
  for (QChar c : button_name)
    if (!c.isLetterOrNumber()) return {};
  return ArtIcon(QStringLiteral("toolbar/") + button_name);
}
