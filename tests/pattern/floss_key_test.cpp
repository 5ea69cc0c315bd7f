#include "pattern/floss_key.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "composition/composition.h"
#include "pattern/report_lines.h"
#include "tests/composition/picture_fixtures.h"

namespace {

using Names = std::vector<std::string>;

TColor Rgb(int r, int g, int b) {
  return MakeColor(uint8_t(r), uint8_t(g), uint8_t(b));
}

// A composition of one row: `runs` gives (palette index, cells) in picture order.
struct Fixture {
  TpunCompo compo;
  Names threads;
  Fixture(const std::vector<std::pair<std::string, TColor>>& palette,
          const std::vector<std::pair<size_t, uint32_t>>& runs, uint8_t cotton = 1) {
    for (const auto& [name, color] : palette) compo.Palette().AddClr(color, name);
    std::vector<TColor> pixels;
    for (const auto& [k, cells] : runs) pixels.insert(pixels.end(), cells, palette[k].second);
    fixtures::GivePixels(compo, uint16_t(pixels.size()), 1, pixels);
    compo.SetCottonSize(cotton);
    compo.Palette().ListThreads(threads);
  }
  FlossKey Key(uint32_t symbols = 100) const {
    return MakeFlossKey(compo, threads, symbols,
                        [](const std::string& name) { return "about " + name; }, {});
  }
  Names Report() const { return FlossReportLines(compo, threads, {}); }
};

// A "Floss to buy" row written as the floss report writes a line, from the row's own
// figures, so equal lines mean equal uses, lengths and skeins.
std::string AsReportLine(const BuyRow& row) {
  char line[200];
  std::snprintf(line, sizeof line, "%10s -> %6llu Dot(s),  %llu Coil(s) (%2llu.%02llu cm)",
                row.thread.c_str(), (unsigned long long)row.uses, (unsigned long long)row.skeins,
                (unsigned long long)(row.hundredths / 100),
                (unsigned long long)(row.hundredths % 100));
  return line;
}

Names AsReportLines(const FlossKey& key) {
  Names lines;
  for (const BuyRow& row : key.to_buy) lines.push_back(AsReportLine(row));
  return lines;
}

const std::vector<std::pair<std::string, TColor>> kFour = {{"310", Rgb(0, 0, 0)},
                                                           {"666", Rgb(220, 0, 30)},
                                                           {"310+666", Rgb(110, 0, 15)},
                                                           {"3865", Rgb(250, 250, 245)}};

}  // namespace

TEST(FlossKey, RowsOnlyForUsedColorsInPaletteOrder) {
  // Picture order differs from palette order, and 666 is used only inside the blend.
  const Fixture f(kFour, {{3, 2}, {0, 5}, {2, 7}, {0, 1}});
  const FlossKey key = f.Key(3);
  ASSERT_EQ(key.rows.size(), 3u);
  EXPECT_EQ(key.rows[0].palette_index, 0);
  EXPECT_EQ(key.rows[0].floss, "310");
  EXPECT_EQ(key.rows[0].description, "about 310");
  EXPECT_EQ(key.rows[0].color, Rgb(0, 0, 0));
  EXPECT_EQ(key.rows[0].stitches, 6u);
  EXPECT_EQ(key.rows[1].palette_index, 2);
  EXPECT_EQ(key.rows[1].floss, "310+666");
  EXPECT_EQ(key.rows[1].stitches, 7u);
  EXPECT_EQ(key.rows[2].palette_index, 3);
  EXPECT_EQ(key.rows[2].stitches, 2u);
  // Three symbols for four colors: round(k * 0.75), halves to even; none from the fourth.
  EXPECT_EQ(key.rows[0].symbol, 0u);
  EXPECT_EQ(key.rows[1].symbol, 2u);
  EXPECT_EQ(key.rows[2].symbol, std::nullopt);
  for (const KeyRow& row : key.rows) EXPECT_FALSE(row.not_stitched);
}

TEST(FlossKey, PlainColorsUseTwoPerStitchAndBlendsOnePerThread) {
  // At 14 count 4800 cm hold 4800 / (0.01 * 18 * 2) = 13333 uses and a third.
  const Fixture f({{"310", Rgb(0, 0, 0)}, {"310+666", Rgb(110, 0, 15)}}, {{0, 6667}, {1, 13334}});
  const FlossKey key = f.Key();
  ASSERT_EQ(key.rows.size(), 2u);
  EXPECT_EQ(key.rows[0].SkeinsText(), "2");
  EXPECT_EQ(key.rows[1].SkeinsText(), "2 + 2");

  const Fixture small({{"310+666", Rgb(110, 0, 15)}}, {{0, 3}});
  EXPECT_EQ(small.Key().rows.at(0).SkeinsText(), "1 + 1");
}

TEST(FlossKey, FlossToBuyHasTheFlossReportsFiguresAndTotals) {
  const Fixture f(kFour, {{3, 2}, {0, 5}, {2, 7}, {0, 1}, {1, 20000}}, 0);
  const FlossKey key = f.Key();
  EXPECT_EQ(AsReportLines(key), f.Report());
  ASSERT_EQ(key.to_buy.size(), 3u);
  EXPECT_EQ(key.to_buy[1].thread, "666");
  EXPECT_EQ(key.to_buy[1].description, "about 666");
  EXPECT_EQ(key.total_stitches, 6u + 7 + 2 + 20000);
  uint64_t hundredths = 0, skeins = 0;
  for (const BuyRow& row : key.to_buy) hundredths += row.hundredths, skeins += row.skeins;
  EXPECT_EQ(key.total_hundredths, hundredths);
  EXPECT_EQ(key.total_skeins, skeins);
  EXPECT_EQ(key.total_skeins, 1u + 4 + 1);  // 310: 19 uses, 666: 40007, 3865: 4
  EXPECT_EQ(key.fabric_count, 11u);
  EXPECT_EQ(key.fabric_note, "");
}

TEST(FlossKey, TransparentCellsAreListedButBuyNoThread) {
  Fixture f(kFour, {{0, 5}, {2, 7}, {3, 2}});
  const Names opaque = f.Report();
  f.compo.SetTransparencyOn(true);
  f.compo.SetTransparentColor(2);
  const FlossKey key = f.Key();
  ASSERT_EQ(key.rows.size(), 3u);
  EXPECT_TRUE(key.rows[1].not_stitched);
  EXPECT_EQ(key.rows[1].floss, "310+666");
  EXPECT_EQ(key.rows[1].stitches, 0u);
  EXPECT_EQ(key.rows[1].SkeinsText(), "");
  EXPECT_EQ(key.total_stitches, 7u);
  ASSERT_EQ(key.to_buy.size(), 3u);
  EXPECT_EQ(key.to_buy[0].uses, 10u);  // without the blend's 7
  EXPECT_EQ(key.to_buy[1].uses, 0u);
  EXPECT_EQ(AsReportLine(key.to_buy[2]), opaque[2]);

  // An index past the palette marks nothing.
  f.compo.SetTransparentColor(4464);
  EXPECT_EQ(AsReportLines(f.Key()), opaque);
}

TEST(FlossKey, UnknownFabricAssumesFourteenCount) {
  Fixture f(kFour, {{0, 5}, {2, 7000}});
  const Names at14 = f.Report();
  f.compo.SetCottonSize(7);
  const FlossKey key = f.Key();
  EXPECT_EQ(key.fabric_note, "fabric count unknown, 14 assumed");
  EXPECT_EQ(key.fabric_count, 14u);
  EXPECT_EQ(AsReportLines(key), at14);
  EXPECT_EQ(key.rows.at(1).SkeinsText(), "1 + 1");
}

TEST(FlossKey, MetresAreRoundedUpToWholeCentimetres) {
  EXPECT_EQ(MetresText(0), "0.00");
  EXPECT_EQ(MetresText(26), "0.01");
  EXPECT_EQ(MetresText(9200), "0.92");
  EXPECT_EQ(MetresText(480000), "48.00");
  EXPECT_EQ(MetresText(480001), "48.01");
}
