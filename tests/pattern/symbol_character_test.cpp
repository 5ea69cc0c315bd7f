// The character an entry's code stands for, and the fonts that stand in for missing ones.
#include "pattern/symbol_character.h"

#include <gtest/gtest.h>

#include <set>

TEST(SymbolCharacter, TheCodesLowByteReadAsWindows1252) {
  EXPECT_EQ(CodeByte(275), 19);
  EXPECT_EQ(CodeByte(-1), 255);
  EXPECT_EQ(CodeByte(-191), 65);
  EXPECT_EQ(Windows1252Character(65), U'A');
  EXPECT_EQ(Windows1252Character(149), U'\u2022');
  EXPECT_EQ(Windows1252Character(128), U'\u20AC');
  EXPECT_EQ(Windows1252Character(159), U'\u0178');
  EXPECT_EQ(Windows1252Character(160), U'\u00A0');
  EXPECT_EQ(Windows1252Character(233), U'\u00E9');
  for (uint8_t byte : {0, 19, 31, 127, 129, 141, 143, 144, 157})
    EXPECT_EQ(Windows1252Character(byte), 0u) << int(byte);
  EXPECT_EQ(CharacterFor(CharacterRule::kSymbolArea, 108), (CharacterChoice{0xF06C, false}));
}

TEST(SymbolCharacter, SubstituteTablesDrawPublishedShapesAndDigitsForTheRest) {
  EXPECT_EQ(WingdingsCharacter(108), U'\u25CF');
  EXPECT_EQ(WingdingsCharacter(110), U'\u25A0');
  EXPECT_EQ(SymbolFontCharacter(97), U'\u03B1');
  EXPECT_EQ(SymbolFontCharacter(65), U'\u0391');
  EXPECT_EQ(SymbolFontCharacter(183), U'\u2022');
  EXPECT_EQ(CharacterFor(CharacterRule::kWingdings, 32), (CharacterChoice{U' ', false}));
  EXPECT_EQ(CharacterFor(CharacterRule::kWingdings, 36), (CharacterChoice{0, true}));
  EXPECT_EQ(CharacterFor(CharacterRule::kSymbol, 19), (CharacterChoice{0, true}));
  EXPECT_EQ(CharacterFor(CharacterRule::kSymbol, 97), (CharacterChoice{U'\u03B1', false}));
  // No two bytes of a table look alike.
  for (auto table : {&WingdingsCharacter, &SymbolFontCharacter}) {
    std::set<char32_t> seen;
    for (int byte = 0; byte < 256; ++byte) {
      const char32_t character = table(uint8_t(byte));
      if (character) EXPECT_TRUE(seen.insert(character).second) << byte;
    }
  }
}

TEST(SymbolCharacter, MissingWindowsFontsGetTheirStandInsWithLetterCaseIgnored) {
  using R = CharacterRule;
  EXPECT_EQ(SubstituteFor("ARIAL"), (FontSubstitute{"Liberation Sans", R::kCodePage1252}));
  EXPECT_EQ(SubstituteFor("Times New Roman"),
            (FontSubstitute{"Liberation Serif", R::kCodePage1252}));
  EXPECT_EQ(SubstituteFor("courier new"), (FontSubstitute{"Liberation Mono", R::kCodePage1252}));
  EXPECT_EQ(SubstituteFor("wingdings"), (FontSubstitute{"DejaVu Sans", R::kWingdings}));
  EXPECT_EQ(SubstituteFor("Symbol"), (FontSubstitute{"DejaVu Sans", R::kSymbol}));
  EXPECT_EQ(SubstituteFor("MS Sans Serif"), (FontSubstitute{"DejaVu Sans", R::kCodePage1252}));
  EXPECT_EQ(SubstituteFor("Wingdings 2"), (FontSubstitute{"DejaVu Sans", R::kCodePage1252}));
}
