#include "composition/search_result.h"

#include <gtest/gtest.h>

#include "composition/composition.h"

namespace {

void Fill(TpunPal& palette, std::initializer_list<const char*> names) {
  uint8_t level = 10;
  for (const char* name : names) palette.AddClr(MakeColor(level, level, level), name), level += 40;
}

}  // namespace

TEST(ApplySearchResult, TheTransparentColorFollowsItsFloss) {
  TpunPal floss;
  Fill(floss, {"310", "666", "Blanc", "3865"});
  TpunCompo document(&floss);
  document.SetTransparencyOn(true);
  document.SetTransparentColor(2);  // Blanc
  document.SetModified(false);
  TpunPal result;
  Fill(result, {"Blanc", "310"});
  ASSERT_TRUE(ApplySearchResult(document, result));
  EXPECT_EQ(document.Palette().Count(), 2);
  EXPECT_TRUE(document.Modified());
  EXPECT_TRUE(document.TransparencyOn());
  EXPECT_EQ(document.TransparentColor(), 0);

  // Its floss gone, transparency goes off rather than greying another floss.
  TpunPal without;
  Fill(without, {"310", "666"});
  ASSERT_TRUE(ApplySearchResult(document, without));
  EXPECT_FALSE(document.TransparencyOn());
}

TEST(ApplySearchResult, AnEmptyResultChangesNothing) {
  TpunPal floss;
  Fill(floss, {"310", "666"});
  TpunCompo document(&floss);
  document.SetModified(false);
  TpunPal empty;
  EXPECT_FALSE(ApplySearchResult(document, empty));
  EXPECT_EQ(document.Palette().Count(), 2);
  EXPECT_FALSE(document.Modified());
}

TEST(ColorDeleted, TheTransparentColorKeepsItsFlossOrEnds) {
  TpunPal floss;
  Fill(floss, {"310", "666", "Blanc", "3865"});
  TpunCompo document(&floss);
  document.SetTransparencyOn(true);
  document.SetTransparentColor(2);
  document.ColorDeleted(3);  // after it: no change
  EXPECT_EQ(document.TransparentColor(), 2);
  document.ColorDeleted(0);  // before it: Blanc moved down
  EXPECT_EQ(document.TransparentColor(), 1);
  EXPECT_TRUE(document.TransparencyOn());
  document.ColorDeleted(1);  // Blanc itself
  EXPECT_FALSE(document.TransparencyOn());
}
