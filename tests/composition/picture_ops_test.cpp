#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "composition/composition.h"
#include "palette/nearest_color_index.h"
#include "palette/palette_errors.h"
#include "tests/composition/picture_fixtures.h"

using namespace fixtures;

namespace {

using Reports = std::vector<std::pair<std::string, uint16_t>>;

void Record(TpunCompo& compo, Reports& reports) {
  compo.OnProgress = [&reports](const std::string& text, uint16_t percent) {
    reports.emplace_back(text, percent);
  };
}

TColor At(const PictureBlock& block, uint32_t w, uint32_t h, uint32_t x, uint32_t y) {
  return PixelAt(block.data(), PixelOffset(w, h, x, y));
}

// The transpose as it is defined: old (x, y) lands at new (y, x), rows from the top.
PictureBlock PlainTranspose(const PictureBlock& block, uint32_t w, uint32_t h) {
  PictureBlock out(PictureBytes(h, w), 0);
  for (uint32_t x = 0; x < w; ++x)
    for (uint32_t y = 0; y < h; ++y)
      PutPixelAt(out.data(), PixelOffset(h, w, y, x), At(block, w, h, x, y));
  return out;
}

}  // namespace

TEST(Remap, EqualsThePlainSearchAndReportsEveryRowTwice) {
  TpunPal palette;
  std::mt19937 random(7);
  std::vector<TColor> colors;
  for (int i = 0; i < 60; ++i) colors.push_back(random() & 0xFFFFFF);
  colors.push_back(colors[3]);  // a duplicate never wins over its first copy
  for (TColor c : colors) palette.AddClr(c, "x");
  TpunCompo compo(&palette);
  const uint16_t w = 37, h = 23;
  GivePicture(compo, w, h, RandomPicture(w, h, 11));
  const PictureBlock source = *compo.SourcePicture;
  compo.Modified = false;
  Reports reports;
  Record(compo, reports);

  compo.Remap();

  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      ASSERT_EQ(At(*compo.MappedPicture, w, h, x, y),
                colors[size_t(LinearNearest(colors, At(source, w, h, x, y)))])
          << x << "," << y;
  EXPECT_EQ(*compo.SourcePicture, source);
  EXPECT_FALSE(compo.Modified);
  Reports expected;
  for (uint32_t y = 0; y < h; ++y) {
    const auto p = uint16_t((y + 1) * 100 / h);
    expected.insert(expected.end(), 2, {"(" + std::to_string(p) + "%) Mapping image", p});
  }
  expected.emplace_back("", 0);
  EXPECT_EQ(reports, expected);
}

TEST(Remap, TransparentEntryIsGreyAndTiesGoToTheLowerIndex) {
  TpunPal palette;
  palette.AddClr(MakeColor(0, 0, 0), "black");
  palette.AddClr(MakeColor(20, 0, 0), "dark red");
  palette.AddClr(MakeColor(0, 0, 250), "blue");
  TpunCompo compo(&palette);
  PictureBlock block(PictureBytes(3, 1), 0);
  PutPixelAt(block.data(), 0, MakeColor(10, 0, 0));  // as near to black as to dark red
  PutPixelAt(block.data(), 3, MakeColor(0, 0, 200));
  PutPixelAt(block.data(), 6, MakeColor(19, 1, 0));
  GivePicture(compo, 3, 1, block);
  compo.SetTransparencyOn(true);
  compo.SetTransparentColor(2);

  compo.Remap();

  EXPECT_EQ(At(*compo.MappedPicture, 3, 1, 0, 0), MakeColor(0, 0, 0));
  EXPECT_EQ(At(*compo.MappedPicture, 3, 1, 1, 0), MakeColor(128, 128, 128));
  EXPECT_EQ(At(*compo.MappedPicture, 3, 1, 2, 0), MakeColor(20, 0, 0));
  EXPECT_EQ(*compo.SourcePicture, block);
}

TEST(Remap, EmptyPaletteRefusesTheFirstPixel) {
  TpunCompo compo;
  GivePicture(compo, 2, 2, RandomPicture(2, 2, 1));
  try {
    compo.Remap();
    FAIL() << "mapped onto no color";
  } catch (const EInvalidColorIndex& error) {
    EXPECT_STREQ(error.what(), "(TpunPal.GetClr) : Invalid Color index !");
  }
}

TEST(Rotate, TransposesWithItsReportsAndMarksModified) {
  TpunCompo compo;
  GivePicture(compo, 4, 2, RandomPicture(4, 2, 3));
  const PictureBlock before = *compo.SourcePicture;
  compo.Modified = false;
  Reports reports;
  Record(compo, reports);

  compo.Rotate();

  EXPECT_EQ(compo.Width, 2);
  EXPECT_EQ(compo.Height, 4);
  EXPECT_EQ(At(*compo.SourcePicture, 2, 4, 1, 3), At(before, 4, 2, 3, 1));
  EXPECT_EQ(*compo.MappedPicture, *compo.SourcePicture);
  EXPECT_TRUE(compo.Modified);
  EXPECT_EQ(reports, (Reports{{"Initializing...", 0},
                              {"Rotating image...", 0},
                              {"Rotating image...", 25},
                              {"Rotating image...", 50},
                              {"Rotating image...", 75},
                              {"", 0}}));
  compo.Rotate();
  EXPECT_EQ(*compo.SourcePicture, before);
}

TEST(Rotate, TiledResultIsByteIdenticalToThePlainTranspose) {
  // Sizes that cross tile and strip edges, odd widths for row padding, and enough rows to
  // share the work between threads.
  const std::vector<std::pair<uint16_t, uint16_t>> sizes{{131, 70}, {65, 601}, {1, 5}, {7, 1}};
  for (auto [w, h] : sizes) {
    TpunCompo compo;
    GivePicture(compo, w, h, RandomPicture(w, h, w * 1000u + h));
    const PictureBlock expected = PlainTranspose(*compo.SourcePicture, w, h);
    compo.Rotate();
    EXPECT_EQ(*compo.SourcePicture, expected) << w << "x" << h;
  }
}
