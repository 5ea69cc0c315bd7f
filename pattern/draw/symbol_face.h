#pragma once
// Which installed font and which character draw one symbol entry on this machine.

#include <QString>
#include <string>

// How one entry of the table is drawn here.
struct SymbolFace {
  QString family;            // the installed family that draws it
  char32_t character = 0;    // the character drawn; 0 draws nothing
  bool parsed = false;       // false: the entry does not parse and draws a blank cell
  bool substituted = false;  // the entry's font is not installed; `family` stands in
};

// The face of a font name and a code as stored in the table.
SymbolFace FaceFor(const std::string& font_name, int32_t code);
// The installed family drawing `font_name`: itself, matched with letter case ignored, or
// the family standing in for it.
QString InstalledFamily(const std::string& font_name, bool* substituted = nullptr);
