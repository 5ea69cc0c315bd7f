#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "palette/cie_lab.h"
#include "palette/color_match.h"
#include "palette/de2000_lightness_scan.h"
#include "palette/floss_palette.h"
#include "palette/nearest_de2000.h"
#include "tests/support/floss_table.h"

namespace {

std::vector<TColor> DmcColors() {
  std::vector<TColor> colors;
  for (const FlossRow& row : ReadFlossTable("dmc.tsv"))
    colors.push_back(MakeColor(uint8_t(std::stoi(row.red)), uint8_t(std::stoi(row.green)),
                               uint8_t(std::stoi(row.blue))));
  return colors;
}

std::vector<LabColor> LabsOf(const std::vector<TColor>& colors) {
  std::vector<LabColor> lab;
  for (TColor c : colors) lab.push_back(LabOf(c));
  return lab;
}

int32_t Plain(const std::vector<TColor>& palette, TColor color) {
  return LinearNearestDe2000(LabsOf(palette), LabOf(color));
}

TEST(NearestCiede2000, AgreesWithThePlainSearchOnTheDmcTable) {
  const std::vector<TColor> palette = DmcColors();
  ASSERT_EQ(palette.size(), 454u);
  const std::vector<LabColor> lab = LabsOf(palette);
  NearestDe2000Search fast(palette);
  std::mt19937 random(13);
  std::uniform_int_distribution<uint32_t> any(0, 0xFFFFFF);

  // Colors one at a time, the floss themselves, and the corners of the cube.
  std::vector<TColor> probes(3000);
  for (TColor& c : probes) c = any(random);
  probes.insert(probes.end(), palette.begin(), palette.end());
  for (TColor c : {0x000000u, 0xFFFFFFu, 0x0000FFu, 0x00FF00u, 0xFF0000u, 0xFFFF00u})
    probes.push_back(c);
  for (TColor c : probes) ASSERT_EQ(fast.Find(c), LinearNearestDe2000(lab, LabOf(c))) << c;

  // Every pixel of a 64 by 64 picture of random colors, row by row as the mapping asks,
  // and again once the answers are remembered.
  constexpr size_t kSide = 64;
  std::vector<uint8_t> pixels(kSide * kSide * 3);
  for (uint8_t& p : pixels) p = uint8_t(random());
  std::vector<int32_t> indices(kSide * kSide);
  NearestDe2000Search search(palette);
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t y = 0; y < kSide; ++y)
      search.FindPixels(pixels.data() + 3 * kSide * y, kSide, indices.data() + kSide * y);
    for (size_t i = 0; i < kSide * kSide; ++i) {
      const uint8_t* p = &pixels[3 * i];
      const TColor color = MakeColor(p[2], p[1], p[0]);
      const int32_t expected = LinearNearestDe2000(lab, LabOf(color));
      ASSERT_EQ(indices[i], expected) << "pixel " << i << " pass " << pass;
      ASSERT_EQ(search.Find(color), expected) << "pixel " << i << " pass " << pass;
    }
  }

  // A batch shared between the threads, with repeats.
  std::vector<TColor> batch(6000);
  for (TColor& c : batch) c = probes[any(random) % probes.size()];
  std::vector<int32_t> answers(batch.size());
  NearestDe2000Search(palette).FindMany(batch.data(), batch.size(), answers.data());
  for (size_t i = 0; i < batch.size(); ++i)
    ASSERT_EQ(answers[i], LinearNearestDe2000(lab, LabOf(batch[i])));
}

TEST(NearestCiede2000, AgreesWithThePlainSearchOnPalettesOfEveryKind) {
  // Where the bounds are loosest: greys only (no hue), saturated blues (the rotation term at
  // its largest), colors a step apart (near ties), and colors from the whole cube.
  std::mt19937 random(2000);
  std::uniform_int_distribution<int> any(0, 255), step(-2, 2);
  std::vector<std::vector<TColor>> palettes(4);
  for (int v = 0; v < 256; v += 5)
    palettes[0].push_back(MakeColor(uint8_t(v), uint8_t(v), uint8_t(v)));
  for (int i = 0; i < 200; ++i)
    palettes[1].push_back(
        MakeColor(uint8_t(any(random) / 4), uint8_t(any(random) / 3), uint8_t(any(random))));
  for (int i = 0; i < 200; ++i)
    palettes[2].push_back(MakeColor(uint8_t(120 + step(random)), uint8_t(60 + step(random)),
                                    uint8_t(200 + step(random))));
  for (int i = 0; i < 300; ++i)
    palettes[3].push_back(
        MakeColor(uint8_t(any(random)), uint8_t(any(random)), uint8_t(any(random))));
  for (const std::vector<TColor>& palette : palettes) {
    const std::vector<LabColor> lab = LabsOf(palette);
    NearestDe2000Search search(palette);
    for (int i = 0; i < 1500; ++i) {
      const TColor c =
          i % 2 ? MakeColor(uint8_t(any(random)), uint8_t(any(random)), uint8_t(any(random)))
                : palette[size_t(i) % palette.size()] ^ TColor(any(random) & 0x030303);
      ASSERT_EQ(search.Find(c), LinearNearestDe2000(lab, LabOf(c)))
          << c << " in palette of " << palette.size();
    }
  }
}

TEST(NearestCiede2000, TiesGoToTheLowestIndexAndAnExactMatchWins) {
  const TColor grey = MakeColor(128, 128, 128), teal = MakeColor(0, 128, 128);
  // The same color twice, far apart in index order and after other entries.
  const std::vector<TColor> palette = {
      MakeColor(255, 0, 0), teal, grey, MakeColor(0, 0, 255), teal, grey, MakeColor(130, 128, 128)};
  NearestDe2000Search search(palette);
  EXPECT_EQ(search.Find(grey), 2);
  EXPECT_EQ(search.Find(teal), 1);
  EXPECT_EQ(search.Find(MakeColor(1, 129, 128)), 1);
  EXPECT_EQ(search.Find(MakeColor(129, 128, 128)), Plain(palette, MakeColor(129, 128, 128)));
  // A hint pointing at the later duplicate still gives the earlier one.
  De2000LightnessScan scan(palette);
  int32_t hint = scan.PositionOf(5);
  EXPECT_EQ(scan.Nearest(LabOf(grey), hint), 2);
  EXPECT_EQ(hint, scan.PositionOf(2));
  // The plain search keeps the first of equal distances and stops at a distance of zero.
  const std::vector<LabColor> lab = {{50, 10, 0}, {50, -10, 0}, {50, 0, 0}, {50, 0, 0}};
  EXPECT_EQ(LinearNearestDe2000(lab, {50, 0, 0}), 2);
  EXPECT_EQ(LinearNearestDe2000({{50, 10, 0}, {50, 10, 0}}, {50, -10, 0}), 0);
}

TEST(NearestCiede2000, EmptyPaletteAnswersZero) {
  NearestDe2000Search search({});
  EXPECT_EQ(search.Find(MakeColor(1, 2, 3)), 0);
  const uint8_t pixel[3] = {1, 2, 3};
  int32_t index = 7;
  search.FindPixels(pixel, 1, &index);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(LinearNearestDe2000({}, LabOf(0)), 0);
}

TEST(NearestCiede2000, PaletteFollowsTheChosenRule) {
  // Under RGB a dark saturated blue is nearest to black; the eye puts it with navy.
  TpunPal palette;
  palette.AddClr(MakeColor(0, 0, 0), "black");
  palette.AddClr(MakeColor(40, 40, 120), "navy");
  const TColor blue = MakeColor(0, 0, 70);
  ColorMatch rule = ColorMatch::ExactRgb;
  ASSERT_TRUE(ColorMatchFromNumber(1, rule));
  EXPECT_EQ(rule, ColorMatch::Ciede2000);
  EXPECT_FALSE(ColorMatchFromNumber(2, rule));
  EXPECT_EQ(rule, ColorMatch::Ciede2000);

  const int32_t by_rgb = palette.NearestClr(blue);
  EXPECT_EQ(palette.Match(), ColorMatch::ExactRgb);
  palette.SetColorMatch(ColorMatch::Ciede2000);
  const int32_t by_eye = palette.NearestClr(blue);
  EXPECT_EQ(by_eye, Plain({MakeColor(0, 0, 0), MakeColor(40, 40, 120)}, blue));
  EXPECT_NE(by_rgb, by_eye);
  // Choosing the rule again keeps the search and what it remembers.
  const NearestColorSearch* search = &palette.NearestIndex();
  palette.SetColorMatch(ColorMatch::Ciede2000);
  EXPECT_EQ(&palette.NearestIndex(), search);
  // A new revision of the colors, and colors assigned from a palette of the other rule,
  // keep this palette's rule.
  palette.AddClr(blue, "blue");
  EXPECT_EQ(palette.NearestClr(MakeColor(0, 0, 72)), 2);
  TpunPal other;
  other.Assign(palette);
  palette.Assign(other);
  EXPECT_EQ(palette.Match(), ColorMatch::Ciede2000);
  EXPECT_EQ(other.Match(), ColorMatch::ExactRgb);
  palette.SetColorMatch(ColorMatch::ExactRgb);
  palette.Delete(2);
  EXPECT_EQ(palette.NearestClr(blue), by_rgb);
}

}  // namespace
