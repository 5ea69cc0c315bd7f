#include "pattern/report_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "base/rounding.h"
#include "composition/composition.h"
#include "tests/composition/picture_fixtures.h"

namespace {

using Reports = std::vector<std::pair<std::string, uint16_t>>;
using Lines = std::vector<std::string>;

TColor Rgb(int r, int g, int b) {
  return MakeColor(uint8_t(r), uint8_t(g), uint8_t(b));
}

// A composition whose pixels are `counts[k]` pixels of color k of `palette`, in one row.
struct Fixture {
  TpunCompo compo;
  Reports reports;
  Fixture(const std::vector<std::pair<std::string, TColor>>& palette,
          const std::vector<uint32_t>& counts) {
    for (const auto& [name, color] : palette) compo.Palette().AddClr(color, name);
    std::vector<TColor> pixels;
    for (size_t k = 0; k < counts.size(); ++k)
      pixels.insert(pixels.end(), counts[k], palette[k].second);
    Picture(uint16_t(pixels.size()), 1, pixels);
    compo.SetOnProgress(
        [this](const std::string& text, uint16_t percent) { reports.emplace_back(text, percent); });
  }
  void Picture(uint16_t width, uint16_t height, const std::vector<TColor>& pixels) {
    fixtures::GivePixels(compo, width, height, pixels);
  }
  Lines Floss(uint8_t cotton) {
    compo.SetCottonSize(cotton);
    std::vector<std::string> threads;
    compo.Palette().ListThreads(threads);
    return FlossReportLines(compo, threads);
  }
};

// The length and skeins in real numbers, as the formula reads.
std::string RealFlossLine(const std::string& thread, uint64_t count, double factor) {
  const double length = double(count) * 0.01 * factor * 2;
  int64_t skeins = RoundHalfEven(length / 4800);
  if (double(skeins) * 4800 < length) ++skeins;
  char text[200];
  std::snprintf(text, sizeof text, "%10s -> %6llu Dot(s),  %lld Coil(s) (%5.2f cm)", thread.c_str(),
                (unsigned long long)count, (long long)skeins, length);
  return text;
}

}  // namespace

TEST(FlossReport, PlainColorsCountTwoAndBlendsOneForEachThread) {
  Fixture plain({{"310", Rgb(0, 0, 0)}}, {100});
  EXPECT_EQ(plain.Floss(0), Lines{"       310 ->    200 Dot(s),  1 Coil(s) (92.00 cm)"});

  Fixture blend({{"310+666", Rgb(100, 0, 0)}, {"310", Rgb(0, 0, 0)}, {"3865", Rgb(250, 250, 250)}},
                {1, 0, 0});
  EXPECT_EQ(blend.Floss(3), (Lines{"       310 ->      1 Dot(s),  1 Coil(s) ( 0.26 cm)",
                                   "       666 ->      1 Dot(s),  1 Coil(s) ( 0.26 cm)",
                                   "      3865 ->      0 Dot(s),  0 Coil(s) ( 0.00 cm)"}));
}

TEST(FlossReport, ThreadsAreFoundByExactNameFirstMatch) {
  Fixture fixture({{"ecru", Rgb(240, 234, 218)}, {"ECRU+x", Rgb(10, 20, 30)}}, {3, 2});
  const Lines lines = FlossReportLines(fixture.compo, {"Ecru", "ecru", "ECRU", "ecru", "x", "y"});
  Lines counts;
  for (const std::string& line : lines) counts.push_back(line.substr(14, 6));
  EXPECT_EQ(counts, (Lines{"     0", "     6", "     2", "     0", "     2", "     0"}));
}

TEST(FlossReport, CountsDoNotWrapAt16Bits) {
  Fixture fixture({{"blanc", Rgb(255, 255, 255)}}, {});
  fixture.Picture(200, 200, std::vector<TColor>(40000, Rgb(255, 255, 255)));
  EXPECT_EQ(fixture.Floss(1), Lines{"     blanc ->  80000 Dot(s),  6 Coil(s) (28800.00 cm)"});
}

TEST(FlossReport, SkeinsAreTheFewestThatHoldTheLength) {
  // Cotton size 2 (F = 15): 16000 dots are exactly 4800 cm.
  EXPECT_EQ(FlossLine("a", 16000, 2), "         a ->  16000 Dot(s),  1 Coil(s) (4800.00 cm)");
  EXPECT_EQ(FlossLine("a", 16001, 2), "         a ->  16001 Dot(s),  2 Coil(s) (4800.30 cm)");
  EXPECT_EQ(FlossLine("a", 32000, 2), "         a ->  32000 Dot(s),  2 Coil(s) (9600.00 cm)");
  EXPECT_EQ(FlossLine("a", 32001, 2), "         a ->  32001 Dot(s),  3 Coil(s) (9600.30 cm)");
  // The exact arithmetic agrees with the real-number formula everywhere.
  for (uint8_t cotton = 0; cotton < 4; ++cotton) {
    const double factor = ThreadLengthFactor(cotton);
    for (uint64_t count = 0; count < 300000; count += 1 + count / 1000)
      ASSERT_EQ(FlossLine("310", count, cotton), RealFlossLine("310", count, factor)) << count;
    for (uint64_t count : {240000ull * 7, 40000ull * 99, 8589672450ull})
      ASSERT_EQ(FlossLine("310", count, cotton), RealFlossLine("310", count, factor)) << count;
  }
  // No fabric, no thread.
  EXPECT_EQ(FlossLine("a", 500, 4), "         a ->    500 Dot(s),  0 Coil(s) ( 0.00 cm)");
  EXPECT_EQ(ThreadLengthFactor(255), 0u);
}

TEST(FlossReport, LongLinesAreCutTo128Characters) {
  const std::string name(140, 'n');
  EXPECT_EQ(FlossLine(name, 1, 0), name.substr(0, 128));
  EXPECT_EQ(FlossLine("0123456789AB", 7, 0),
            "0123456789AB ->      7 Dot(s),  1 Coil(s) ( 3.22 cm)");
}

TEST(FlossReport, ReportsRowsThenLengthsThenTheEnd) {
  Fixture fixture({{"a", Rgb(10, 10, 10)}, {"b+c", Rgb(200, 200, 200)}}, {});
  fixture.Picture(2, 2, {Rgb(10, 10, 10), Rgb(10, 10, 10), Rgb(200, 200, 200), Rgb(10, 10, 10)});
  fixture.Floss(0);
  EXPECT_EQ(fixture.reports, (Reports{{"Creating image histogram...", 75},
                                      {"Creating image histogram...", 150},
                                      {"Calculating lengths...", 0},
                                      {"Calculating lengths...", 33},
                                      {"Calculating lengths...", 66},
                                      {"Calculating lengths...", 100},
                                      {"", 0}}));
}

TEST(ColorUsageReport, OneLinePerPaletteColor) {
  Fixture fixture({{"blanc", Rgb(255, 255, 255)},
                   {"310", Rgb(0, 0, 0)},
                   {std::string(130, 'x'), Rgb(9, 9, 200)}},
                  {5, 0, 1});
  const Lines lines = ColorUsageLines(fixture.compo, fixture.compo.Palette());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "     blanc ->      5 Dot(s)");
  EXPECT_EQ(lines[1], "       310 ->      0 Dot(s)");
  EXPECT_EQ(lines[2], std::string(128, 'x'));
  EXPECT_EQ(fixture.reports, (Reports{{"Creating image histogram...", 116}, {"", 0}}));

  fixture.Picture(1000, 1000, std::vector<TColor>(1000000, Rgb(0, 0, 0)));
  EXPECT_EQ(ColorUsageLines(fixture.compo, fixture.compo.Palette())[1],
            "       310 -> 1000000 Dot(s)");

  fixture.reports.clear();
  TpunPal empty;
  EXPECT_TRUE(ColorUsageLines(fixture.compo, empty).empty());
  EXPECT_TRUE(fixture.reports.empty());
}
