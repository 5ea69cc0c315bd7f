#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>
#include <tuple>
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
  compo.SetOnProgress([&reports](const std::string& text, uint16_t percent) {
    reports.emplace_back(text, percent);
  });
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
  const PictureBlock source = compo.SourcePicture().Block();
  compo.SetModified(false);
  Reports reports;
  Record(compo, reports);

  compo.Remap();

  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      ASSERT_EQ(At(compo.MappedPicture().Block(), w, h, x, y),
                colors[size_t(LinearNearest(colors, At(source, w, h, x, y)))])
          << x << "," << y;
  EXPECT_EQ(compo.SourcePicture().Block(), source);
  EXPECT_FALSE(compo.Modified());
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

  EXPECT_EQ(At(compo.MappedPicture().Block(), 3, 1, 0, 0), MakeColor(0, 0, 0));
  EXPECT_EQ(At(compo.MappedPicture().Block(), 3, 1, 1, 0), MakeColor(128, 128, 128));
  EXPECT_EQ(At(compo.MappedPicture().Block(), 3, 1, 2, 0), MakeColor(20, 0, 0));
  EXPECT_EQ(compo.SourcePicture().Block(), block);
}

TEST(Remap, AgainWritesOverItsLastPictureOnlyWhenNothingElseHoldsIt) {
  TpunPal palette;
  palette.AddClr(MakeColor(0, 0, 0), "black");
  TpunCompo compo(&palette);
  GivePicture(compo, 5, 3, RandomPicture(5, 3, 4));
  compo.Remap();
  const TPicture held = compo.MappedPicture();
  const PictureBlock held_bytes = held.Block();
  for (const bool keep : {true, false}) {
    compo.Palette().AddClr(keep ? MakeColor(255, 255, 255) : MakeColor(255, 0, 0), "more");
    const uint8_t* before = compo.MappedPicture().Data();
    compo.Remap();
    const std::optional<TPicture> expected = compo.MapPicture(nullptr, NeverCancelled());
    ASSERT_TRUE(expected);
    EXPECT_EQ(compo.MappedPicture(), *expected);
    // A picture still held elsewhere keeps its bytes; an unshared one lends its block.
    EXPECT_EQ(compo.MappedPicture().Data() == before, !keep);
  }
  EXPECT_EQ(held.Block(), held_bytes);
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
  const PictureBlock before = compo.SourcePicture().Block();
  compo.SetModified(false);
  Reports reports;
  Record(compo, reports);

  compo.Rotate();

  EXPECT_EQ(compo.Width(), 2);
  EXPECT_EQ(compo.Height(), 4);
  EXPECT_EQ(At(compo.SourcePicture().Block(), 2, 4, 1, 3), At(before, 4, 2, 3, 1));
  EXPECT_EQ(compo.MappedPicture().Block(), compo.SourcePicture().Block());
  EXPECT_TRUE(compo.Modified());
  EXPECT_EQ(reports, (Reports{{"Initializing...", 0},
                              {"Rotating image...", 0},
                              {"Rotating image...", 25},
                              {"Rotating image...", 50},
                              {"Rotating image...", 75},
                              {"", 0}}));
  compo.Rotate();
  EXPECT_EQ(compo.SourcePicture().Block(), before);
}

TEST(Rotate, TiledResultIsByteIdenticalToThePlainTranspose) {
  // Sizes that cross tile and strip edges, odd widths for row padding, and enough rows to
  // share the work between threads.
  const std::vector<std::pair<uint16_t, uint16_t>> sizes{{131, 70}, {65, 601}, {1, 5}, {7, 1}};
  for (auto [w, h] : sizes) {
    TpunCompo compo;
    GivePicture(compo, w, h, RandomPicture(w, h, w * 1000u + h));
    const PictureBlock expected = PlainTranspose(compo.SourcePicture().Block(), w, h);
    compo.Rotate();
    EXPECT_EQ(compo.SourcePicture().Block(), expected) << w << "x" << h;
  }
}

TEST(Picture, HoldsItsSizesWithItsBlockAndCopiesShareIt) {
  // A block shorter than its sizes is refused, one as long or longer is taken.
  for (auto [w, h, bytes, taken] :
       std::vector<std::tuple<uint16_t, uint16_t, size_t, bool>>{{3, 2, 24, true},
                                                                 {3, 2, 25, true},
                                                                 {3, 2, 23, false},
                                                                 {1, 1, 3, false},
                                                                 {0, 0, 0, true},
                                                                 {65535, 1, 0, false}}) {
    if (taken)
      EXPECT_EQ(TPicture(w, h, PictureBlock(bytes)).Size(), bytes);
    else
      EXPECT_THROW(TPicture(w, h, PictureBlock(bytes)), std::invalid_argument) << w << "x" << h;
  }
  TpunPal palette;
  FillPalette(palette);
  TpunCompo compo(&palette);
  EXPECT_FALSE(compo.HasPicture());
  EXPECT_EQ(compo.MappedPicture().Size(), 0u);
  GivePicture(compo, 4, 2, RandomPicture(4, 2, 5));
  EXPECT_EQ(compo.Width(), 4);
  EXPECT_EQ(compo.Height(), 2);
  // Before a mapping the shown picture is the source itself; a copy shares its block.
  EXPECT_EQ(&compo.MappedPicture().Block(), &compo.SourcePicture().Block());
  TpunCompo copy;
  copy.Assign(compo);
  EXPECT_EQ(&copy.SourcePicture().Block(), &compo.SourcePicture().Block());
  // A worker's half changes nothing; installing its result is the Remap.
  const std::optional<TPicture> mapped = compo.MapPicture(nullptr, NeverCancelled());
  ASSERT_TRUE(mapped);
  EXPECT_EQ(&compo.MappedPicture().Block(), &compo.SourcePicture().Block());
  EXPECT_THROW(compo.SetMappedPicture(TPicture(2, 4, PictureBlock(24))), std::invalid_argument);
  compo.SetMappedPicture(*mapped);
  TpunCompo remapped;
  remapped.Assign(compo);
  remapped.Remap();
  EXPECT_EQ(compo.MappedPicture(), remapped.MappedPicture());
  EXPECT_NE(&compo.MappedPicture().Block(), &compo.SourcePicture().Block());
  copy.Rotate();  // the copy's own picture: the other keeps its block
  EXPECT_EQ(compo.Width(), 4);
  EXPECT_EQ(copy.Width(), 2);

  // A passed-in flag found set stops a mapping and a rotation, changing nothing.
  const std::atomic<bool> cancel{true};
  Reports reports;
  copy.ResetMappedPicture();
  copy.Remap([&](const std::string& t, uint16_t p) { reports.emplace_back(t, p); }, cancel);
  copy.Rotate(nullptr, cancel);
  EXPECT_FALSE(copy.RotatedPicture(nullptr, cancel));
  EXPECT_FALSE(copy.MapPicture(nullptr, cancel));
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(&copy.MappedPicture().Block(), &copy.SourcePicture().Block());
  EXPECT_EQ(reports, (Reports{{"", 0}}));
}

TEST(TempBitmapName, NamesAFreshFileEvenWhenTmpdirNamesNoFolder) {
  const char* saved = std::getenv("TMPDIR");
  const std::string before = saved ? saved : "";
  for (const char* tmpdir : {"", "/no/such/folder/at/all"}) {
    if (*tmpdir)
      setenv("TMPDIR", tmpdir, 1);
    else
      unsetenv("TMPDIR");
    const std::string first = TpunCompo::TempBitmapName(), second = TpunCompo::TempBitmapName();
    EXPECT_NE(first, second) << tmpdir;
    EXPECT_EQ(first.substr(first.size() - 4), ".bmp") << tmpdir;
    EXPECT_TRUE(std::filesystem::is_regular_file(first)) << tmpdir;
    ::unlink(first.c_str());
    ::unlink(second.c_str());
  }
  if (saved)
    setenv("TMPDIR", before.c_str(), 1);
  else
    unsetenv("TMPDIR");
}
