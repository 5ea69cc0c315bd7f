#include "composition/color_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/latin1.h"
#include "composition/composition.h"
#include "composition/histogram.h"
#include "palette/nearest_color_index.h"
#include "tests/composition/picture_fixtures.h"

// Readable failures: gtest finds this by argument-dependent lookup.
static void PrintTo(const ColorEntry& entry, std::ostream* out) {
  *out << '"' << entry.name << "\"=" << std::hex << entry.color << std::dec;
}

namespace {

using Reports = std::vector<std::pair<std::string, uint16_t>>;
using Entries = std::vector<ColorEntry>;

TColor Rgb(int r, int g, int b) {
  return MakeColor(uint8_t(r), uint8_t(g), uint8_t(b));
}

void Fill(TpunPal& palette, const Entries& entries) {
  for (const auto& e : entries) palette.AddClr(e.color, e.name);
}

// Pixels row by row from the top, left to right.
void GivePixels(TpunCompo& compo, uint16_t width, uint16_t height,
                const std::vector<TColor>& pixels) {
  PictureBlock block(PictureBytes(width, height), 0);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      PutPixelAt(block.data(), PixelOffset(width, height, x, y), pixels[size_t(y) * width + x]);
  compo.SetPicture(TPicture(width, height, std::move(block)));
}

void Record(TpunCompo& compo, Reports& reports) {
  compo.SetOnProgress([&reports](const std::string& text, uint16_t percent) {
    reports.emplace_back(text, percent);
  });
}

// Sets the composition's cancel flag on the handler's n-th call (counting from 1).
void CancelAt(TpunCompo& compo, Reports& reports, size_t n) {
  compo.SetOnProgress([&compo, &reports, n](const std::string& text, uint16_t percent) {
    reports.emplace_back(text, percent);
    if (reports.size() == n) compo.SetCancelRequested(true);
  });
}

size_t CountText(const Reports& reports, const std::string& part, size_t from = 0) {
  return size_t(
      std::count_if(reports.begin() + std::ptrdiff_t(from), reports.end(),
                    [&](const auto& r) { return r.first.find(part) != std::string::npos; }));
}

// The plain algorithms, one pixel and one pair at a time on the linear search.
namespace plain {

std::vector<TColor> Colors(const Entries& palette) {
  std::vector<TColor> colors;
  for (const auto& e : palette) colors.push_back(e.color);
  return colors;
}

Entries UsedColors(const std::vector<TColor>& pixels, const Entries& palette) {
  Entries used;
  for (TColor p : pixels) {
    const ColorEntry& e = palette[size_t(LinearNearest(Colors(palette), p))];
    if (std::find(used.begin(), used.end(), e) == used.end()) used.push_back(e);
  }
  return used;
}

Entries RemoveUnique(const std::vector<TColor>& pixels, Entries palette, int light, int dots) {
  const auto colors = Colors(palette);
  std::vector<uint64_t> counts(palette.size());
  for (TColor p : pixels) ++counts[size_t(LinearNearest(colors, p))];
  std::vector<std::string> lines;
  char line[512];
  for (size_t k = 0; k < palette.size(); ++k) {
    std::snprintf(line, sizeof line, "%10s -> %6llu Dot(s)", palette[k].name.c_str(),
                  (unsigned long long)counts[k]);
    lines.push_back(line);
  }
  for (const std::string& text : lines) {
    if (text.find(" " + std::to_string(dots) + " Dot") == std::string::npos) continue;
    const size_t begin = text.find_first_not_of(' ');
    const std::string name = text.substr(begin, text.find(' ', begin) - begin);
    auto it = std::find_if(palette.begin(), palette.end(),
                           [&](const auto& e) { return SameText(e.name, name); });
    if (it != palette.end() && LightLevel(it->color) <= light) palette.erase(it);
  }
  return palette;
}

Entries ExchangeSort(Entries entries) {
  auto sum = [](TColor c) { return RedOf(c) + GreenOf(c) + BlueOf(c); };
  for (size_t i = 0; i < entries.size(); ++i)
    for (size_t j = i + 1; j < entries.size(); ++j)
      if (sum(entries[j].color) > sum(entries[i].color)) std::swap(entries[i], entries[j]);
  return entries;
}

bool CanMerge(TColor c) {
  return RedOf(c) && GreenOf(c) && BlueOf(c);
}

// One merge round with its reports (consecutive duplicates left out) and a handler that
// cancels on its `cancel_at`-th report (0: never).
Entries Merge(const Entries& palette, int t, Reports* reports = nullptr, size_t cancel_at = 0) {
  Reports local;
  Reports& out = reports ? *reports : local;
  bool cancel = false;
  auto emit = [&](const std::string& text, uint16_t p) {
    if (!out.empty() && out.back() == std::make_pair(text, p)) return;
    out.emplace_back(text, p);
    if (out.size() == cancel_at) cancel = true;
  };
  emit("Searching...", 0);
  const size_t n = palette.size();
  std::vector<bool> merged(n);
  size_t remaining = n;
  auto within = [t](int a, int b) { return b >= a - t && b <= a + t; };
  for (size_t i = 0; i < n; ++i) {
    const TColor a = palette[i].color;
    for (size_t j = i + 1; j < n; ++j) {
      if (cancel) {
        emit("", 0);
        return palette;
      }
      const TColor b = palette[j].color;
      if (!merged[i] && !merged[j] && CanMerge(a) && CanMerge(b) && within(RedOf(a), RedOf(b)) &&
          within(GreenOf(a), GreenOf(b)) && within(BlueOf(a), BlueOf(b)))
        merged[j] = true, --remaining;
      const uint16_t p = uint16_t((i + 1) * 100 / n);
      emit("(" + std::to_string(p) + "%)-(" + std::to_string(remaining) +
               ") Removing similar colors",
           p);
    }
  }
  emit("Cleaning up...", 0);
  Entries kept;
  for (size_t i = 0; i < n; ++i)
    if (!merged[i]) kept.push_back(palette[i]);
  emit("", 0);
  return kept;
}

Entries Search(const std::vector<TColor>& pixels, Entries start, const TSearchOptions& o) {
  Entries p = UsedColors(pixels, start);
  if (o.RemoveLonely) p = RemoveUnique(pixels, p, o.LightThreshold, o.Dots);
  p = ExchangeSort(p);
  for (int t = o.Increment; p.size() > o.MaxFloss; t += o.Increment) {
    p = Merge(p, t);
    if (t >= 255) break;
  }
  return ExchangeSort(p);
}

}  // namespace plain

// A random palette: names from a small pool in both cases (so lookups by name meet
// duplicates), some colors with a channel 0, and runs of close colors.
Entries RandomPalette(std::mt19937& random, size_t count) {
  static const char* kNames[] = {"310", "ecru", "ECRU", "blanc", "Blanc",
                                 "666", "3865", "a+b",  "b",     "B"};
  Entries palette;
  for (size_t i = 0; i < count; ++i) {
    std::string name = kNames[random() % 10];
    if (random() % 3) name += std::to_string(random() % 40);
    TColor c = random() & 0xFFFFFF;
    if (random() % 6 == 0) c &= 0xFFFF00;                                            // red 0
    if (random() % 4 == 0 && !palette.empty()) c = palette.back().color + 0x010201;  // a near twin
    palette.push_back({name, c & 0xFFFFFF});
  }
  return palette;
}

// Pixels mostly on palette colors, so that many entries are used once or twice.
std::vector<TColor> RandomPixels(std::mt19937& random, const Entries& palette, size_t count) {
  std::vector<TColor> pixels;
  for (size_t i = 0; i < count; ++i)
    pixels.push_back(random() % 5 ? palette[random() % palette.size()].color
                                  : TColor(random() & 0xFFFFFF));
  return pixels;
}

Entries EntriesOf(const TpunPal& palette) {
  return palette.Colors.Entries();
}

}  // namespace

// ---- SearchUsedColors ----------------------------------------------------------------

TEST(SearchUsedColors, KeepsTheFirstMetOrderAndReportsEveryPixel) {
  TpunPal palette;
  Fill(palette, {{"A", Rgb(200, 10, 10)},
                 {"B", Rgb(10, 200, 10)},
                 {"C", Rgb(10, 10, 200)},
                 {"E", Rgb(90, 90, 90)}});
  TpunCompo compo(&palette);
  // Top row C A C, bottom row B and a color nearest to A.
  GivePixels(compo, 3, 2,
             {Rgb(10, 10, 200), Rgb(200, 10, 10), Rgb(10, 10, 200), Rgb(10, 200, 10),
              Rgb(190, 20, 0), Rgb(10, 10, 201)});
  Reports reports;
  Record(compo, reports);
  compo.SetModified(false);
  compo.SearchUsedColors();
  EXPECT_EQ(EntriesOf(compo.Palette()),
            (Entries{{"C", Rgb(10, 10, 200)}, {"A", Rgb(200, 10, 10)}, {"B", Rgb(10, 200, 10)}}));
  EXPECT_TRUE(compo.Modified());
  // One report a row: every pixel of a row would repeat the same text.
  const Reports expected = {
      {"(50%) Searching used colors", 50}, {"(100%) Searching used colors", 100}, {"", 0}};
  EXPECT_EQ(reports, expected);
}

TEST(SearchUsedColors, EqualsThePlainScanOnALargerPicture) {
  std::mt19937 random(3);
  const Entries entries = RandomPalette(random, 450);
  TpunPal palette;
  Fill(palette, entries);
  TpunCompo compo(&palette);
  std::vector<TColor> pixels;
  for (int i = 0; i < 300 * 170; ++i) pixels.push_back(random() & 0xFFFFFF);
  GivePixels(compo, 300, 170, pixels);
  compo.SearchUsedColors();
  EXPECT_EQ(EntriesOf(compo.Palette()), plain::UsedColors(pixels, entries));
}

TEST(SearchUsedColors, OneColorLeavesOneEntryAndACancelLeavesThePaletteAlone) {
  TpunPal palette;
  Fill(palette, {{"A", Rgb(200, 10, 10)}, {"B", Rgb(10, 200, 10)}});
  TpunCompo compo(&palette);
  GivePixels(compo, 2, 3, std::vector<TColor>(6, Rgb(12, 190, 3)));
  compo.SetCancelRequested(true);  // cleared: on its own the operation starts afresh
  compo.SearchUsedColors();
  EXPECT_EQ(EntriesOf(compo.Palette()), (Entries{{"B", Rgb(10, 200, 10)}}));

  compo.ResetPalette();
  compo.SetModified(false);
  Reports reports;
  CancelAt(compo, reports, 1);  // during the first row: the second row is never searched
  compo.SearchUsedColors();
  EXPECT_EQ(compo.Palette().Count(), 2);
  EXPECT_FALSE(compo.Modified());
  EXPECT_EQ(reports, (Reports{{"(33%) Searching used colors", 33}, {"", 0}}));
}

// ---- DotHistogram and RemoveUniqueEntries ------------------------------------------

TEST(DotHistogram, LinesCountsAndPercentages) {
  TpunPal palette;
  Fill(palette, {{"blanc", Rgb(250, 250, 250)},
                 {"Light-grey-long", Rgb(100, 100, 100)},
                 {"310", Rgb(1, 1, 1)}});
  TpunCompo compo(&palette);
  GivePixels(compo, 3, 2,
             {Rgb(255, 255, 255), Rgb(250, 250, 250), Rgb(99, 99, 99), Rgb(240, 240, 240),
              Rgb(255, 250, 250), Rgb(249, 249, 249)});
  Reports reports;
  Record(compo, reports);
  EXPECT_EQ(compo.DotHistogram(), (std::vector<std::string>{"     blanc ->      5 Dot(s)",
                                                            "Light-grey-long ->      1 Dot(s)",
                                                            "       310 ->      0 Dot(s)"}));
  // (width + 1) * (y + 1) * 100 / (width * height): past 100 on the last row.
  EXPECT_EQ(reports, (Reports{{"Creating image histogram...", 66},
                              {"Creating image histogram...", 133},
                              {"", 0}}));
  // A 65535 x 65535 picture, which overflows 32 bits.
  EXPECT_EQ(HistogramPercent(65535, 65535, 0), 0);
  EXPECT_EQ(HistogramPercent(65535, 65535, 32767), 50);
  EXPECT_EQ(HistogramPercent(65535, 65535, 65534), 100);
}

TEST(RemoveUniqueEntries, DeletesDarkEntriesOfExactlyThatCount) {
  TpunPal palette;
  Fill(palette, {{"once", Rgb(100, 100, 100)},      // light 39, one dot: deleted
                 {"twice", Rgb(60, 60, 60)},        // two dots: kept
                 {"bright", Rgb(250, 250, 250)}});  // light 97: kept
  TpunCompo compo(&palette);
  GivePixels(compo, 4, 1,
             {Rgb(100, 100, 100), Rgb(60, 60, 60), Rgb(60, 60, 60), Rgb(250, 250, 250)});
  compo.SetModified(false);
  compo.RemoveUniqueEntries(75, 1);
  EXPECT_EQ(EntriesOf(compo.Palette()),
            (Entries{{"twice", Rgb(60, 60, 60)}, {"bright", Rgb(250, 250, 250)}}));
  EXPECT_FALSE(compo.Modified());
}

TEST(RemoveUniqueEntries, ACountOf65537IsNotOneDot) {
  TpunPal palette;
  Fill(palette, {{"dark", Rgb(10, 10, 10)}, {"other", Rgb(200, 200, 200)}});
  TpunCompo compo(&palette);
  std::vector<TColor> pixels(65538, Rgb(10, 10, 10));
  pixels[0] = Rgb(200, 200, 200);
  GivePixels(compo, 32769, 2, pixels);
  EXPECT_EQ(compo.DotHistogram()[0], "      dark ->  65537 Dot(s)");
  compo.RemoveUniqueEntries(99, 1);  // 16-bit counters would have made it 1 dot as well
  EXPECT_EQ(EntriesOf(compo.Palette()), (Entries{{"dark", Rgb(10, 10, 10)}}));
}

TEST(RemoveUniqueEntries, ReportsEveryLineAndStopsAtAMatchWhenCancelled) {
  TpunPal palette;
  Fill(palette, {{"a", Rgb(10, 10, 10)},
                 {"b", Rgb(20, 20, 20)},
                 {"c", Rgb(30, 30, 30)},
                 {"d", Rgb(40, 40, 40)}});
  TpunCompo compo(&palette);
  GivePixels(compo, 4, 1, {Rgb(10, 10, 10), Rgb(20, 20, 20), Rgb(40, 40, 40), Rgb(40, 40, 40)});
  Reports reports;
  Record(compo, reports);
  compo.RemoveUniqueEntries(75, 1);
  EXPECT_EQ(reports, (Reports{{"Creating image histogram...", 125},
                              {"", 0},
                              {"25%-(3)-Removing unique entries", 25},
                              {"50%-(2)-Removing unique entries", 50},
                              {"75%-(2)-Removing unique entries", 75},
                              {"100%-(2)-Removing unique entries", 100},
                              {"", 0}}));
  compo.ResetPalette();
  reports.clear();
  CancelAt(compo, reports, 3);  // after line 0: line 1 matches and finds the flag
  compo.RemoveUniqueEntries(75, 1);
  EXPECT_EQ(EntriesOf(compo.Palette()),
            (Entries{{"b", Rgb(20, 20, 20)}, {"c", Rgb(30, 30, 30)}, {"d", Rgb(40, 40, 40)}}));
  EXPECT_EQ(reports.size(), 4u);
  EXPECT_EQ(reports.back(), std::make_pair(std::string(), uint16_t(0)));
}

TEST(RemoveUniqueEntries, EqualsTheLiteralLookupByFirstNameIgnoringCase) {
  std::mt19937 random(17);
  for (int round = 0; round < 40; ++round) {
    const Entries entries = RandomPalette(random, 20 + random() % 60);
    TpunPal palette;
    Fill(palette, entries);
    TpunCompo compo(&palette);
    const auto pixels = RandomPixels(random, entries, 150);
    GivePixels(compo, 15, 10, pixels);
    const int light = int(random() % 100), dots = int(1 + random() % 3);
    compo.RemoveUniqueEntries(uint8_t(light), uint8_t(dots));
    EXPECT_EQ(EntriesOf(compo.Palette()), plain::RemoveUnique(pixels, entries, light, dots))
        << round;
  }
}

// ---- RemoveSimilarColors -------------------------------------------------------------

TEST(RemoveSimilarColors, MergesWithinTheToleranceIntoTheLowestIndex) {
  TpunCompo compo;
  auto run = [&](const Entries& entries, uint16_t t) {
    compo.Palette().Clear();
    Fill(compo.Palette(), entries);
    compo.RemoveSimilarColors(t);
    return EntriesOf(compo.Palette());
  };
  const Entries pair = {{"x", Rgb(10, 10, 10)}, {"y", Rgb(12, 9, 11)}};
  EXPECT_EQ(run(pair, 2), (Entries{pair[0]}));
  EXPECT_EQ(run(pair, 1), pair);
  const Entries zero = {{"x", Rgb(0, 10, 10)}, {"y", Rgb(0, 10, 10)}};
  EXPECT_EQ(run(zero, 300), zero);
  // A merged entry takes nothing in: z lies within 2 of y but not of x.
  const Entries chain = {{"x", Rgb(10, 10, 10)}, {"y", Rgb(12, 12, 12)}, {"z", Rgb(14, 14, 14)}};
  EXPECT_EQ(run(chain, 2), (Entries{chain[0], chain[2]}));
  // Exact black is kept: only merged entries leave.
  const Entries black = {
      {"310", Rgb(0, 0, 0)}, {"a", Rgb(50, 60, 70)}, {"310", Rgb(0, 0, 0)}, {"b", Rgb(52, 60, 70)}};
  EXPECT_EQ(run(black, 5), (Entries{black[0], black[1], black[2]}));
  EXPECT_EQ(run({}, 3), Entries{});
  compo.SetCancelRequested(true);  // on its own the operation clears an earlier cancel
  EXPECT_EQ(run(pair, 2), (Entries{pair[0]}));
}

TEST(RemoveSimilarColors, ReportsEachPairLeavingOutRepeats) {
  TpunPal palette;
  Fill(palette, {{"a", Rgb(10, 10, 10)},
                 {"b", Rgb(11, 11, 11)},
                 {"c", Rgb(200, 200, 200)},
                 {"d", Rgb(201, 200, 199)}});
  TpunCompo compo(&palette);
  Reports reports;
  Record(compo, reports);
  compo.SetModified(false);
  compo.RemoveSimilarColors(2);
  EXPECT_TRUE(compo.Modified());
  EXPECT_EQ(reports, (Reports{{"Searching...", 0},
                              {"(25%)-(3) Removing similar colors", 25},  // pairs (0,1) to (0,3)
                              {"(50%)-(3) Removing similar colors", 50},
                              {"(75%)-(2) Removing similar colors", 75},  // (2,3) merges
                              {"Cleaning up...", 0},
                              {"", 0}}));
}

TEST(RemoveSimilarColors, EqualsThePairByPairRoundAndItsCancels) {
  std::mt19937 random(5);
  for (int round = 0; round < 60; ++round) {
    const Entries entries = RandomPalette(random, 1 + random() % 150);
    static const uint16_t kTolerances[] = {0, 1, 3, 8, 20, 60, 254, 255, 4000};
    const uint16_t t = kTolerances[random() % 9];
    Reports expected;
    const Entries merged = plain::Merge(entries, t, &expected);
    TpunPal palette;
    Fill(palette, entries);
    TpunCompo compo(&palette);
    Reports reports;
    Record(compo, reports);
    compo.RemoveSimilarColors(t);
    ASSERT_EQ(EntriesOf(compo.Palette()), merged) << round;
    ASSERT_EQ(reports, expected) << round;

    // Cancelled after the n-th report: the same reports, the palette exactly as before.
    for (size_t n = 1; n <= expected.size(); n += 1 + expected.size() / 7) {
      Reports plain_reports;
      const Entries result = plain::Merge(entries, t, &plain_reports, n);
      compo.ResetPalette();
      compo.SetModified(false);
      reports.clear();
      CancelAt(compo, reports, n);
      compo.RemoveSimilarColors(t);
      ASSERT_EQ(EntriesOf(compo.Palette()), result) << round << " " << n;
      ASSERT_EQ(reports, plain_reports) << round << " " << n;
      EXPECT_EQ(compo.Modified(),
                plain_reports[plain_reports.size() - 2].first == "Cleaning up...");
    }
  }
}

// ---- The automatic search -------------------------------------------------------------

TEST(AutomaticColorSearch, EqualsThePlainStepsOnRandomPicturesAndPalettes) {
  std::mt19937 random(11);
  for (int round = 0; round < 30; ++round) {
    const Entries reference = RandomPalette(random, 30 + random() % 90);
    TpunPal palette;
    Fill(palette, reference);
    TpunCompo work(&palette);
    const auto pixels = RandomPixels(random, reference, 16 * 12);
    GivePixels(work, 16, 12, pixels);
    TSearchOptions options;
    options.KeepOriginalPalette = random() % 3 == 0;
    options.MaxFloss = uint16_t(3 + random() % 40);
    options.Increment = uint8_t(1 + random() % 10);
    options.RemoveLonely = random() % 4 != 0;
    options.Dots = uint8_t(1 + random() % 2);
    options.LightThreshold = uint8_t(random() % 100);
    Entries start = reference;
    if (options.KeepOriginalPalette) {
      std::shuffle(start.begin(), start.end(), random);
      start.resize(start.size() / 2 + 1);
      work.Palette().Clear();
      Fill(work.Palette(), start);
    }
    ASSERT_TRUE(AutomaticColorSearch(work, options));
    EXPECT_EQ(EntriesOf(work.Palette()), plain::Search(pixels, start, options)) << round;
  }
}

TEST(AutomaticColorSearch, OnlySortsWhenThePaletteIsSmallEnough) {
  TpunPal palette;
  Fill(palette, {{"dark", Rgb(20, 20, 20)},
                 {"light", Rgb(220, 220, 220)},
                 {"mid", Rgb(120, 120, 120)},
                 {"unused", Rgb(1, 2, 3)}});
  TpunCompo work(&palette);
  GivePixels(work, 3, 1, {Rgb(20, 20, 20), Rgb(220, 220, 220), Rgb(120, 120, 120)});
  Reports reports;
  Record(work, reports);
  TSearchOptions options;
  options.MaxFloss = 3;
  options.RemoveLonely = false;
  EXPECT_TRUE(AutomaticColorSearch(work, options));
  EXPECT_EQ(EntriesOf(work.Palette()), (Entries{{"light", Rgb(220, 220, 220)},
                                                {"mid", Rgb(120, 120, 120)},
                                                {"dark", Rgb(20, 20, 20)}}));
  EXPECT_EQ(CountText(reports, "Searching..."), 0u);
}

TEST(AutomaticColorSearch, RoundsEndAtTheFirstToleranceOf255OrMore) {
  // Thirty entries with a red of 0: no round can merge them.
  Entries entries;
  std::vector<TColor> pixels;
  for (int i = 0; i < 30; ++i) {
    entries.push_back({"f" + std::to_string(i), Rgb(0, 10 + i * 7, 20 + i * 5)});
    pixels.push_back(entries.back().color);
  }
  TpunPal palette;
  Fill(palette, entries);
  for (auto [increment, rounds] : {std::pair{10, 26}, {1, 255}, {255, 1}, {0, 1}}) {
    TpunCompo work(&palette);
    GivePixels(work, 30, 1, pixels);
    Reports reports;
    Record(work, reports);
    TSearchOptions options;
    options.MaxFloss = 10;
    options.Increment = uint8_t(increment);
    options.RemoveLonely = false;
    EXPECT_TRUE(AutomaticColorSearch(work, options));
    EXPECT_EQ(CountText(reports, "Searching..."), size_t(rounds)) << increment;
    EXPECT_EQ(work.Palette().Count(), 30);
  }
}

TEST(AutomaticColorSearch, ACancelAtAnyReportEndsTheSearch) {
  std::mt19937 random(23);
  const Entries reference = RandomPalette(random, 80);
  TpunPal palette;
  Fill(palette, reference);
  const auto pixels = RandomPixels(random, reference, 12 * 10);
  TSearchOptions options;
  options.MaxFloss = 8;
  options.Increment = 4;
  auto fresh = [&](TpunCompo& work, Reports& reports, size_t n) {
    GivePixels(work, 12, 10, pixels);
    CancelAt(work, reports, n);
    work.Palette().OnProgress = work.OnProgress();  // as the search worker binds both
  };
  size_t total;
  {
    TpunCompo work(&palette);
    Reports reports;
    fresh(work, reports, 0);
    ASSERT_TRUE(AutomaticColorSearch(work, options));
    total = reports.size();
    ASSERT_GT(CountText(reports, "Searching..."), 2u);
  }
  for (size_t n = 1; n <= total; n += (n < 40 ? 1 : 1 + total / 50)) {
    TpunCompo work(&palette);
    Reports reports;
    fresh(work, reports, n);
    EXPECT_FALSE(AutomaticColorSearch(work, options)) << n;
    // No merge pair runs after the cancel, and at most the round about to start begins.
    EXPECT_EQ(CountText(reports, "Removing similar colors", n), 0u) << n;
    EXPECT_LE(CountText(reports, "Searching...", n), 1u) << n;
    if (reports[n - 1].first.find("Searching used colors") != std::string::npos) {
      EXPECT_EQ(CountText(reports, "histogram", n) + CountText(reports, "unique", n) +
                    CountText(reports, "Sorting", n),
                0u);
    }
  }
}

TEST(AutomaticColorSearch, ACancelDuringTheFirstSortIsNotLostAndAnEarlierOneIsCleared) {
  TpunPal palette;
  Fill(palette, {{"a", Rgb(10, 10, 10)}, {"b", Rgb(12, 12, 12)}, {"c", Rgb(200, 200, 200)}});
  TpunCompo work(&palette);
  GivePixels(work, 3, 1, {Rgb(10, 10, 10), Rgb(12, 12, 12), Rgb(200, 200, 200)});
  TSearchOptions options;
  options.MaxFloss = 2;
  options.Increment = 2;
  options.RemoveLonely = false;
  work.SetCancelRequested(true);  // from before the search: cleared when it starts
  EXPECT_TRUE(AutomaticColorSearch(work, options));
  EXPECT_EQ(EntriesOf(work.Palette()),
            (Entries{{"c", Rgb(200, 200, 200)}, {"b", Rgb(12, 12, 12)}}));

  work.ResetPalette();
  work.Palette().OnProgress = [&](const std::string& text, uint16_t) {
    if (text.find("Sorting") != std::string::npos) work.SetCancelRequested(true);
  };
  EXPECT_FALSE(AutomaticColorSearch(work, options));
  // The round found the flag at its first pair and left the sorted palette alone.
  EXPECT_EQ(EntriesOf(work.Palette()),
            (Entries{{"c", Rgb(200, 200, 200)}, {"b", Rgb(12, 12, 12)}, {"a", Rgb(10, 10, 10)}}));
}

TEST(RunColorSearch, SearchesACopyThroughTheGivenSinkAndFlagAndLeavesTheDocumentAlone) {
  std::mt19937 random(31);
  const Entries reference = RandomPalette(random, 60);
  TpunPal palette;
  Fill(palette, reference);
  const auto pixels = RandomPixels(random, reference, 16 * 9);
  TSearchOptions options;
  options.MaxFloss = 12;
  options.Increment = 3;
  TpunCompo document(&palette);
  GivePixels(document, 16, 9, pixels);
  document.Palette().Delete(0);  // the search starts from the reference palette, not this
  Reports document_heard;
  Record(document, document_heard);
  const std::string before = fixtures::StateOf(document);
  const PictureBlock* shared = &document.SourcePicture().Block();

  Reports heard;
  const ProgressHandler sink = [&](const std::string& text, uint16_t percent) {
    heard.emplace_back(text, percent);
    // The copy shares the document's block instead of copying it.
    EXPECT_EQ(&document.SourcePicture().Block(), shared);
  };
  std::atomic<bool> cancel{false};
  const TSearchResult result = RunColorSearch(document, options, sink, cancel);
  ASSERT_FALSE(result.Cancelled);
  ASSERT_TRUE(result.Palette);
  EXPECT_EQ(EntriesOf(*result.Palette), plain::Search(pixels, reference, options));
  EXPECT_GT(CountText(heard, "Sorting"), 0u);  // the copy's palette reports there too
  EXPECT_TRUE(document_heard.empty());
  EXPECT_EQ(fixtures::StateOf(document), before);

  cancel = true;
  const TSearchResult cancelled = RunColorSearch(document, options, sink, cancel);
  EXPECT_TRUE(cancelled.Cancelled);
  EXPECT_FALSE(cancelled.Palette);
  EXPECT_EQ(fixtures::StateOf(document), before);
}
