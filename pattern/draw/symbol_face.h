#pragma once
// Which installed font and which character draw one symbol entry on this machine.

#include <QString>
#include <string>

#include "pattern/symbol_character.h"

// How one entry of the table is drawn here.
struct SymbolFace {
  QString family;            // the installed family that draws it
  char32_t character = 0;    // the character drawn; 0 draws nothing (or the digits)
  bool parsed = false;       // false: the entry does not parse and draws a blank cell
  bool substituted = false;  // the entry's font is not installed; `family` stands in
  bool digits = false;       // the stand-in lacks the shape: `byte` is drawn in digits
  uint8_t byte = 0;          // the code's low 8 bits
};

// A font name of the table resolved against the installed families.
struct ResolvedFont {
  QString family;
  CharacterRule rule = CharacterRule::kCodePage1252;
  bool substituted = false;
};

// The installed family matched with letter case ignored (a symbol-encoded one reads bytes
// as U+F000 + byte, a text font as Windows-1252), else its substitute (SubstituteFor).
ResolvedFont ResolveFont(const std::string& font_name);
// The face of a code in a resolved font.
SymbolFace FaceFor(const ResolvedFont& font, int32_t code);
// The face of a font name and a code as stored in the table.
SymbolFace FaceFor(const std::string& font_name, int32_t code);
