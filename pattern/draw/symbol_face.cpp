#include "pattern/draw/symbol_face.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <optional>

namespace {

std::optional<QString> Installed(const QString& wanted) {
  for (const QString& family : QFontDatabase::families()) {
    if (family.compare(wanted, Qt::CaseInsensitive) == 0) return family;
  }
  return std::nullopt;
}

// Whether `family` itself has `character`, other fonts' glyphs not counted.
bool HasCharacter(const QString& family, char32_t character) {
  QFont font(family);
  font.setStyleStrategy(QFont::NoFontMerging);
  return QFontMetrics(font).inFontUcs4(uint(character));
}

}  // namespace

ResolvedFont ResolveFont(const std::string& font_name) {
  if (const auto family = Installed(QString::fromStdString(font_name))) {
    const bool symbol_encoded =
        QFontDatabase::writingSystems(*family).contains(QFontDatabase::Symbol);
    return {*family, symbol_encoded ? CharacterRule::kSymbolArea : CharacterRule::kCodePage1252,
            false};
  }
  const FontSubstitute substitute = SubstituteFor(font_name);
  const QString family = Installed(QString::fromStdString(substitute.family))
                             .value_or(QString::fromLatin1(kFallbackFamily));
  return {family, substitute.rule, true};
}

SymbolFace FaceFor(const ResolvedFont& font, int32_t code) {
  SymbolFace face;
  face.parsed = true;
  face.family = font.family;
  face.substituted = font.substituted;
  face.byte = CodeByte(code);
  const CharacterChoice choice = CharacterFor(font.rule, face.byte);
  face.character = choice.character;
  face.digits = choice.digits;
  // A table's shape the installed DejaVu Sans lacks after all is drawn as digits too.
  const bool table = font.rule == CharacterRule::kWingdings || font.rule == CharacterRule::kSymbol;
  if (table && face.character > U' ' && !HasCharacter(face.family, face.character)) {
    face.character = 0;
    face.digits = true;
  }
  return face;
}

SymbolFace FaceFor(const std::string& font_name, int32_t code) {
  return FaceFor(ResolveFont(font_name), code);
}
