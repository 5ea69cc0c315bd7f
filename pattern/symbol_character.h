#pragma once
// The character an entry's code stands for, as data: the code page of text fonts, the
// private-use area of symbol-encoded fonts, and the tables that draw a missing Wingdings
// or Symbol in DejaVu Sans. Which fonts stand in for the Windows faces the tables name.

#include <cstdint>
#include <string>
#include <string_view>

// How the byte of a code becomes a character in the font that draws it.
enum class CharacterRule : uint8_t {
  kCodePage1252,  // a text font: the byte read as Windows-1252
  kSymbolArea,    // an installed symbol-encoded font: U+F000 + byte
  kWingdings,     // a missing Wingdings drawn from WingdingsCharacter
  kSymbol,        // a missing Symbol drawn from SymbolFontCharacter
};

// The byte a code draws: its low 8 bits, negative codes too.
inline uint8_t CodeByte(int32_t code) {
  return uint8_t(uint32_t(code) & 0xFF);
}

// The Unicode character of a Windows-1252 byte; 0 (nothing drawn) for control codes, 127
// and the five bytes the code page leaves undefined (129, 141, 143, 144, 157).
char32_t Windows1252Character(uint8_t byte);
// The character of DejaVu Sans closest to a byte's shape in Wingdings or Symbol; 0 where
// DejaVu Sans has none. No two bytes of one table share a character.
char32_t WingdingsCharacter(uint8_t byte);
char32_t SymbolFontCharacter(uint8_t byte);

// What one byte draws under a rule: a character, nothing (character 0, not digits), or,
// for a byte a substitute table lacks, its decimal value in small digits, so that no two
// symbols look alike.
struct CharacterChoice {
  char32_t character = 0;
  bool digits = false;
  bool operator==(const CharacterChoice&) const = default;
};
CharacterChoice CharacterFor(CharacterRule rule, uint8_t byte);

// The family that stands in for a font that is not installed, and how it reads bytes:
// Arial -> Liberation Sans, Times New Roman -> Liberation Serif, Courier New -> Liberation
// Mono, Wingdings and Symbol -> DejaVu Sans with their tables, anything else -> DejaVu Sans.
// Names are compared with letter case ignored.
struct FontSubstitute {
  std::string family;
  CharacterRule rule = CharacterRule::kCodePage1252;
  bool operator==(const FontSubstitute&) const = default;
};
FontSubstitute SubstituteFor(std::string_view font_name);

// The family every substitute falls back to when its own is not installed either.
inline constexpr const char* kFallbackFamily = "DejaVu Sans";
