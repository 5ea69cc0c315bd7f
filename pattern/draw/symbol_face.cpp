#include "pattern/draw/symbol_face.h"

#include <QFontDatabase>
#include <QStringList>

QString InstalledFamily(const std::string& font_name, bool* substituted) {
  const QString wanted = QString::fromStdString(font_name);
  for (const QString& family : QFontDatabase::families()) {
    if (family.compare(wanted, Qt::CaseInsensitive) == 0) {
      if (substituted) *substituted = false;
      return family;
    }
  }
  if (substituted) *substituted = true;
  return QStringLiteral("DejaVu Sans");
}

SymbolFace FaceFor(const std::string& font_name, int32_t code) {
  SymbolFace face;
  face.parsed = true;
  face.family = InstalledFamily(font_name, &face.substituted);
  face.character = char32_t(uint32_t(code) & 0xFF);
  return face;
}
