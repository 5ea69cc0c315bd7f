#include <gtest/gtest.h>

#include "composition/color_search.h"
#include "composition/composition.h"
#include "tests/support/differing_match.h"

namespace {

struct Fixture {
  DifferingMatch match = *FindDifferingMatch();
  TpunPal main;

  Fixture() {
    const char* names[] = {"A", "B", "C", "D"};
    for (size_t i = 0; i < match.palette.size(); ++i) main.AddClr(match.palette[i], names[i]);
  }

  // Three pixels of the color on which the rules part.
  void GivePicture(TpunCompo& compo) const {
    PictureBlock block(PictureBytes(3, 1), 0);
    for (uint32_t x = 0; x < 3; ++x) PutPixelAt(block.data(), PixelOffset(3, 1, x, 0), match.color);
    compo.SetPicture(TPicture(3, 1, std::move(block)));
  }

  static TColor FirstMapped(TpunCompo& compo) {
    compo.Remap();
    return PixelAt(compo.MappedPicture().Data(), PixelOffset(3, 1, 0, 0));
  }
};

TEST(CompositionColorMatch, BothPalettesTakeTheRuleAndMappingFollowsIt) {
  Fixture f;
  ASSERT_NE(f.match.rgb, f.match.ciede2000);
  TpunCompo plain(&f.main);
  EXPECT_EQ(plain.Match(), ColorMatch::ExactRgb);
  f.GivePicture(plain);
  EXPECT_EQ(Fixture::FirstMapped(plain), f.match.palette[size_t(f.match.rgb)]);

  f.main.SetColorMatch(ColorMatch::Ciede2000);
  TpunCompo compo(&f.main);
  EXPECT_EQ(compo.Match(), ColorMatch::Ciede2000);
  EXPECT_EQ(compo.RefPalette().Match(), ColorMatch::Ciede2000);
  f.GivePicture(compo);
  EXPECT_EQ(Fixture::FirstMapped(compo), f.match.palette[size_t(f.match.ciede2000)]);
  compo.ResetPalette();  // the working palette keeps its rule
  EXPECT_EQ(Fixture::FirstMapped(compo), f.match.palette[size_t(f.match.ciede2000)]);

  // A copy follows its source's rule, whatever it was made with; and back again.
  plain.Assign(compo);
  EXPECT_EQ(plain.Match(), ColorMatch::Ciede2000);
  EXPECT_EQ(plain.RefPalette().Match(), ColorMatch::Ciede2000);
  EXPECT_EQ(Fixture::FirstMapped(plain), f.match.palette[size_t(f.match.ciede2000)]);
  compo.SetColorMatch(ColorMatch::ExactRgb);
  EXPECT_EQ(Fixture::FirstMapped(compo), f.match.palette[size_t(f.match.rgb)]);
  EXPECT_EQ(compo.RefPalette().Match(), ColorMatch::ExactRgb);
}

TEST(CompositionColorMatch, TheColorSearchKeepsTheFlossOfTheDocumentsRule) {
  Fixture f;
  TpunCompo document(&f.main);
  f.GivePicture(document);
  for (ColorMatch rule : {ColorMatch::Ciede2000, ColorMatch::ExactRgb}) {
    document.SetColorMatch(rule);
    const TSearchResult result = RunColorSearch(document, {}, nullptr, NeverCancelled());
    ASSERT_TRUE(result.Palette);
    ASSERT_EQ(result.Palette->Count(), 1);
    const int32_t wanted = rule == ColorMatch::Ciede2000 ? f.match.ciede2000 : f.match.rgb;
    EXPECT_EQ(result.Palette->GetClr(0), f.match.palette[size_t(wanted)]) << int(rule);
  }
}

}  // namespace
