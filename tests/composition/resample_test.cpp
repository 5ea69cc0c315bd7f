#include "composition/resample.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "composition/composition.h"
#include "tests/composition/picture_fixtures.h"

using namespace fixtures;

namespace {

// The weight of source index x in new index X, and the total of a new index's weights,
// straight from the definition of the mean, for one axis of `from` -> `to`.
uint64_t Weight(uint64_t from, uint64_t to, uint64_t X, uint64_t x) {
  if (to > from) return x == X * from / to ? 1 : 0;
  const uint64_t low = std::max(X * from, x * to), high = std::min((X + 1) * from, (x + 1) * to);
  return high > low ? high - low : 0;
}
uint64_t Total(uint64_t from, uint64_t to) {
  return to > from ? 1 : from;
}

// Every new pixel summed over every source pixel at once.
PictureBlock PlainResample(const PictureBlock& block, uint32_t W, uint32_t H, uint32_t w,
                           uint32_t h) {
  PictureBlock out(PictureBytes(w, h), 0);
  const uint64_t total = Total(W, w) * Total(H, h);
  for (uint32_t Y = 0; Y < h; ++Y)
    for (uint32_t X = 0; X < w; ++X)
      for (int c = 0; c < 3; ++c) {
        uint64_t sum = 0;
        for (uint32_t y = 0; y < H; ++y)
          for (uint32_t x = 0; x < W; ++x)
            sum += Weight(W, w, X, x) * Weight(H, h, Y, y) * block[PixelOffset(W, H, x, y) + c];
        out[PixelOffset(w, h, X, Y) + c] = uint8_t((2 * sum + total) / (2 * total));
      }
  return out;
}

TPicture Picture(uint16_t w, uint16_t h, uint32_t seed) {
  return TPicture(w, h, RandomPicture(w, h, seed));
}

TColor At(const TPicture& p, uint32_t x, uint32_t y) {
  return PixelAt(p.Data(), PixelOffset(p.Width(), p.Height(), x, y));
}

}  // namespace

TEST(ResampledPicture, EqualsThePlainMeanOfEveryPixel) {
  struct Case {
    uint16_t W, H, w, h;
  };
  const std::vector<Case> cases = {
      {37, 23, 11, 7},  {37, 23, 37, 23}, {5, 3, 13, 11},  {1, 9, 1, 4},   {9, 1, 4, 1},
      {1, 1, 6, 5},     {9, 7, 1, 1},     {13, 5, 4, 11},  {6, 17, 15, 3}, {1, 12, 7, 5},
      {64, 48, 21, 16}, {3, 3, 2, 2},     {10, 10, 3, 20}, {3, 600, 2, 2},
  };
  for (const Case& c : cases) {
    const TPicture source = Picture(c.W, c.H, c.W * 131u + c.h);
    const auto resized = ResampledPicture(source, c.w, c.h, nullptr, NeverCancelled());
    ASSERT_TRUE(resized);
    EXPECT_EQ(resized->Width(), c.w);
    EXPECT_EQ(resized->Height(), c.h);
    EXPECT_EQ(Bytes(resized->Block()), Bytes(PlainResample(source.Block(), c.W, c.H, c.w, c.h)))
        << c.W << "x" << c.H << " -> " << c.w << "x" << c.h;
  }
}

TEST(ResampledPicture, ExactBytesSameSizeProgressAndRefusals) {
  // Two columns into one: (10 + 21) / 2 rounds half up to 16; growing repeats, never blends.
  PictureBlock block(PictureBytes(2, 1), 0);
  PutPixelAt(block.data(), 0, MakeColor(10, 0, 255));
  PutPixelAt(block.data(), 3, MakeColor(21, 1, 254));
  const TPicture two(2, 1, block);
  const auto one = ResampledPicture(two, 1, 1, nullptr, NeverCancelled());
  EXPECT_EQ(At(*one, 0, 0), MakeColor(16, 1, 255));
  // Hundreds of white rows into each stitch stay white: no partial sum wraps.
  const TPicture white(1, 700, PictureBlock(PictureBytes(1, 700), 255));
  const auto whites = ResampledPicture(white, 1, 2, nullptr, NeverCancelled());
  EXPECT_EQ(At(*whites, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(At(*whites, 0, 1), 0xFFFFFFu);
  const auto five = ResampledPicture(two, 5, 2, nullptr, NeverCancelled());
  const std::vector<TColor> row = {At(two, 0, 0), At(two, 0, 0), At(two, 0, 0), At(two, 1, 0),
                                   At(two, 1, 0)};
  for (uint32_t y = 0; y < 2; ++y)
    for (uint32_t x = 0; x < 5; ++x) EXPECT_EQ(At(*five, x, y), row[x]) << x << "," << y;

  // A larger picture, split over the cores, keeps its bytes at its own size.
  const TPicture large = Picture(1500, 900, 5);
  std::vector<std::pair<std::string, uint16_t>> reports;
  const auto same = ResampledPicture(
      large, 1500, 900, [&](const std::string& t, uint16_t p) { reports.emplace_back(t, p); },
      NeverCancelled());
  EXPECT_EQ(*same, large);
  ASSERT_EQ(reports.size(), 901u);
  EXPECT_EQ(reports[449], std::make_pair(std::string("Resizing image..."), uint16_t(50)));
  EXPECT_EQ(reports.back(), std::make_pair(std::string(), uint16_t(0)));

  std::atomic<bool> cancel{true};
  EXPECT_FALSE(ResampledPicture(large, 100, 60, nullptr, cancel));
  EXPECT_THROW(ResampledPicture(two, 0, 1, nullptr, NeverCancelled()), std::invalid_argument);
  EXPECT_THROW(ResampledPicture(two, 1, 0, nullptr, NeverCancelled()), std::invalid_argument);
  EXPECT_THROW(ResampledPicture(TPicture(), 1, 1, nullptr, NeverCancelled()),
               std::invalid_argument);
}

TEST(ProportionalSize, RoundsHalfUpWithinOneTo65535) {
  struct Case {
    uint32_t W, H, given, height, width;
  };
  // 4000 x 3000 at 200 wide: 150 high; 3 x 2 at 1 wide: 0.67 -> 1; 4 x 2 at 3: 1.5 -> 2;
  // 4 x 2 at 1: 0.5 -> 1 (and at least 1 anyway); 1 x 65535 at 2 wide: clamped.
  const std::vector<Case> cases = {{4000, 3000, 200, 150, 267},
                                   {3, 2, 1, 1, 2},
                                   {4, 2, 3, 2, 6},
                                   {4, 2, 1, 1, 2},
                                   {1, 65535, 2, 65535, 1},
                                   {65535, 1, 1, 1, 65535},
                                   {7, 7, 65535, 65535, 65535}};
  for (const Case& c : cases) {
    EXPECT_EQ(ProportionalHeight(c.W, c.H, c.given), c.height) << c.W << "x" << c.H;
    EXPECT_EQ(ProportionalWidth(c.W, c.H, c.given), c.width) << c.W << "x" << c.H;
  }
  EXPECT_THROW(ProportionalHeight(0, 5, 3), std::invalid_argument);
  EXPECT_THROW(ProportionalWidth(5, 0, 3), std::invalid_argument);
}

TEST(TurnAndResize, ReplaceThePictureAndTurnsUndoEachOther) {
  // 2 x 3, rows from the top: a b / c d / e f. Turned right: e c a / f d b.
  PictureBlock block(PictureBytes(2, 3), 0);
  for (uint32_t i = 0; i < 6; ++i)
    PutPixelAt(block.data(), PixelOffset(2, 3, i % 2, i / 2), MakeColor(uint8_t(i), 7, 9));
  TpunPal palette;
  FillPalette(palette);
  TpunCompo compo(&palette);
  GivePicture(compo, 2, 3, block);
  compo.SetModified(false);
  compo.Turn(QuarterTurn::Right);
  EXPECT_TRUE(compo.Modified());
  ASSERT_EQ(compo.Width(), 3);
  ASSERT_EQ(compo.Height(), 2);
  const std::vector<uint8_t> right = {4, 2, 0, 5, 3, 1};
  for (uint32_t i = 0; i < 6; ++i)
    EXPECT_EQ(RedOf(At(compo.SourcePicture(), i % 3, i / 3)), right[i]) << i;
  compo.Turn(QuarterTurn::Left);
  EXPECT_EQ(Bytes(compo.SourcePicture().Block()), Bytes(block));

  // Sizes across tiles and strips, odd ones with row padding.
  for (const auto& [w, h] : {std::pair<uint16_t, uint16_t>{301, 157}, {1, 130}, {129, 1}}) {
    const TPicture picture = Picture(w, h, w + h);
    GivePicture(compo, w, h, picture.Block());
    for (int k = 0; k < 4; ++k) compo.Turn(QuarterTurn::Right);
    EXPECT_EQ(compo.SourcePicture(), picture) << w << "x" << h;
    compo.Turn(QuarterTurn::Left);
    EXPECT_EQ(At(compo.SourcePicture(), 0, 0), At(picture, w - 1, 0));
    compo.Turn(QuarterTurn::Right);
    EXPECT_EQ(compo.SourcePicture(), picture) << w << "x" << h;
  }
  std::atomic<bool> cancel{true};
  EXPECT_FALSE(compo.TurnedPicture(QuarterTurn::Left, nullptr, cancel));
  EXPECT_FALSE(compo.ResizedPicture(5, 5, nullptr, cancel));

  const TPicture picture = compo.SourcePicture();
  compo.Remap();
  compo.SetModified(false);
  compo.Resize(8, 6);
  EXPECT_TRUE(compo.Modified());
  EXPECT_EQ(compo.SourcePicture(), *ResampledPicture(picture, 8, 6, nullptr, NeverCancelled()));
  EXPECT_EQ(compo.MappedPicture(), compo.SourcePicture());  // the old mapping is dropped
  EXPECT_FALSE(TpunCompo().TurnedPicture(QuarterTurn::Right, nullptr, NeverCancelled()));
}
