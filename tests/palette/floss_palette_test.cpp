#include "palette/floss_palette.h"

#include <gtest/gtest.h>

#include "tests/support/message_of.h"

#include <functional>
#include <random>
#include <stdexcept>

#include "palette/palette_errors.h"

namespace {

struct Entry {
  const char* name;
  int r, g, b;
};

void Fill(TpunPal& palette, std::initializer_list<Entry> entries) {
  for (const auto& e : entries)
    palette.AddClr(MakeColor(uint8_t(e.r), uint8_t(e.g), uint8_t(e.b)), e.name);
}

std::vector<std::string> Names(const TpunPal& palette) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < palette.Count(); ++i) names.push_back(palette.GetName(i));
  return names;
}

// The exchange sort as it reads: the reference for the fast one.
// `steps` outer steps only, as a sort stopped there leaves the entries.
std::vector<ColorEntry> ExchangeSorted(std::vector<ColorEntry> entries, size_t steps = SIZE_MAX) {
  auto sum = [](TColor c) { return RedOf(c) + GreenOf(c) + BlueOf(c); };
  for (size_t i = 0; i < entries.size() && i < steps; ++i) {
    int key = sum(entries[i].color);
    for (size_t j = i + 1; j < entries.size(); ++j)
      if (sum(entries[j].color) > key) {
        std::swap(entries[i], entries[j]);
        key = sum(entries[i].color);
      }
  }
  return entries;
}

}  // namespace

TEST(FlossPalette, IndexChecksRaiseTheirOwnMessages) {
  TpunPal palette;
  Fill(palette, {{"310", 0, 0, 0}});
  EXPECT_EQ(MessageOf<EInvalidColorIndex>([&] { palette.GetClr(1); }),
            "(TpunPal.GetClr) : Invalid Color index !");
  EXPECT_EQ(MessageOf<EInvalidColorIndex>([&] { palette.PutClr(1, 0); }),
            "(TpunPal.PutClr) : Invalid Color index !");
  EXPECT_EQ(MessageOf<EInvalidColorIndex>([&] { palette.Delete(1); }),
            "(TpunPal.Delete) : Invalid Color index !");
  EXPECT_EQ(MessageOf<EInvalidColorNameIndex>([&] { palette.GetName(1); }),
            "(TpunPal.GetName) : Invalid Color Name index !");
  EXPECT_EQ(MessageOf<EInvalidIndex>([&] { palette.Colors.GetClr(1); }), "Invalid color index !");
  // A negative index passes the palette's check and is refused by the list.
  EXPECT_EQ(MessageOf<EListError>([&] { palette.GetClr(-1); }), "List index out of bounds");
  EXPECT_EQ(MessageOf<EListError>([&] { palette.Delete(-1); }), "List index out of bounds");
  EXPECT_EQ(palette.Count(), 1);
}

TEST(FlossPalette, ModifiedTracksTheThreadCountCache) {
  TpunPal palette;
  EXPECT_FALSE(palette.Modified);
  Fill(palette, {{"A", 1, 1, 1}, {"B", 2, 2, 2}});
  EXPECT_TRUE(palette.Modified);
  EXPECT_EQ(palette.ThreadCount(), 2);
  EXPECT_FALSE(palette.Modified);
  palette.PutClr(0, MakeColor(9, 9, 9));  // colors are no threads
  EXPECT_FALSE(palette.Modified);
  palette.AddClr(0, "C");
  EXPECT_EQ(palette.ThreadCount(), 3);
  palette.Delete(0);
  palette.Delete(0);
  palette.Delete(0);
  EXPECT_EQ(palette.ThreadCount(), 3);  // an empty palette keeps the last count
  palette.SetThreadCount(7);
  EXPECT_EQ(palette.ThreadCount(), 7);
  palette.Clear();
  EXPECT_FALSE(palette.Modified);
}

TEST(FlossPalette, IndexOfNameIgnoresAsciiAndLatin1Case) {
  TpunPal palette;
  Fill(palette, {{"Blanc", 1, 1, 1},
                 {"\xC9"
                  "cru",
                  2, 2, 2},
                 {"blanc", 3, 3, 3}});
  int32_t index = -5;
  EXPECT_TRUE(palette.IndexOfName("BLANC", index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(
      palette.IndexOfName("\xE9"
                          "CRU",
                          index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(palette.IndexOfName("Blanc ", index));
  EXPECT_EQ(index, -1);
}

TEST(FlossPalette, SortIsTheUnstableExchangeSort) {
  TpunPal palette;
  Fill(palette, {{"a", 100, 100, 100}, {"b", 255, 255, 255}, {"c", 100, 100, 100}, {"d", 0, 0, 0}});
  palette.Sort();
  EXPECT_EQ(Names(palette), (std::vector<std::string>{"b", "a", "c", "d"}));
  EXPECT_EQ(palette.GetClr(0), MakeColor(255, 255, 255));

  TpunPal ties;
  Fill(ties, {{"A", 100, 0, 0}, {"B", 0, 100, 0}, {"E", 200, 0, 0}});
  ties.Modified = false;
  ties.Sort();
  EXPECT_EQ(Names(ties), (std::vector<std::string>{"E", "B", "A"}));
  EXPECT_FALSE(ties.Modified);
}

TEST(FlossPalette, SortGivesTheExchangeSortPermutationOnRandomPalettes) {
  std::mt19937 random(7);
  for (int size : {0, 1, 2, 17, 300, 2000}) {
    TpunPal palette;
    for (int i = 0; i < size; ++i) {
      // Few distinct sums make many ties, where an unstable sort shows its order.
      int level = int(random() % 8) * 30;
      palette.AddClr(MakeColor(uint8_t(level), uint8_t(random() % 3), 0), std::to_string(i));
    }
    auto expected = ExchangeSorted(palette.Colors.Entries());
    palette.Sort();
    EXPECT_EQ(palette.Colors.Entries(), expected) << "size " << size;
  }
}

TEST(FlossPalette, SortStoppedByItsReportLeavesTheEntriesAsTheExchangesDid) {
  std::mt19937 random(3);
  TpunPal palette;
  for (int i = 0; i < 200; ++i)
    palette.AddClr(MakeColor(uint8_t(random() % 5 * 40), 0, 0), std::to_string(i));
  const auto expected = ExchangeSorted(palette.Colors.Entries(), 60);
  int reports = 0;
  palette.OnProgress = [&](const std::string&, uint16_t) {
    if (++reports == 60) throw std::runtime_error("stop");
  };
  EXPECT_THROW(palette.Sort(), std::runtime_error);
  EXPECT_EQ(palette.Colors.Entries(), expected);
}

TEST(FlossPalette, SortReportsEachStepAndCloses) {
  TpunPal palette;
  Fill(palette, {{"a", 1, 0, 0}, {"b", 2, 0, 0}, {"c", 3, 0, 0}, {"d", 4, 0, 0}});
  std::vector<std::string> reports;
  palette.OnProgress = [&](const std::string& text, uint16_t p) {
    reports.push_back(text + "|" + std::to_string(p));
  };
  palette.Sort();
  EXPECT_EQ(reports, (std::vector<std::string>{"(25%) Sorting colors|25", "(50%) Sorting colors|50",
                                               "(75%) Sorting colors|75",
                                               "(100%) Sorting colors|100", "|0"}));
}

TEST(FlossPalette, ListThreadsSplitsBlendsAndComparesBytes) {
  TpunPal palette;
  Fill(palette, {{"A", 0, 0, 0}, {"A+B", 0, 0, 0}, {"B", 0, 0, 0}, {"E", 0, 0, 0}});
  std::vector<std::string> threads;
  EXPECT_EQ(palette.ListThreads(threads), 3);
  EXPECT_EQ(threads, (std::vector<std::string>{"A", "B", "E"}));

  TpunPal cased;
  Fill(cased, {{"a", 0, 0, 0}, {"A", 0, 0, 0}, {"x+y+z", 0, 0, 0}});
  std::vector<std::string> kept{"y+z"};  // the target is not cleared first
  std::vector<std::string> reports;
  cased.OnProgress = [&](const std::string& text, uint16_t) { reports.push_back(text); };
  EXPECT_EQ(cased.ListThreads(kept), 4);
  EXPECT_EQ(kept, (std::vector<std::string>{"y+z", "a", "A", "x"}));
  EXPECT_EQ(reports.front(), "(33%)  Counting thread");
  EXPECT_EQ(reports.back(), "");
}

TEST(FlossPalette, MixColorsBlendsEachPlainPairOnce) {
  TpunPal palette;
  Fill(palette, {{"A", 0, 0, 0}, {"B", 255, 255, 255}});
  std::vector<std::string> reports;
  palette.OnProgress = [&](const std::string& text, uint16_t) { reports.push_back(text); };
  palette.MixColors();
  ASSERT_EQ(palette.Count(), 3);
  EXPECT_EQ(palette.GetName(2), "A+B");
  EXPECT_EQ(palette.GetClr(2), MakeColor(127, 127, 127));
  EXPECT_EQ(reports, (std::vector<std::string>{"(50%) Mixing Colors (3) Colors",
                                               "(100%) Mixing Colors (3) Colors", ""}));
  palette.MixColors();
  EXPECT_EQ(palette.Count(), 3);

  TpunPal three;
  Fill(three, {{"x", 10, 20, 30}, {"y", 11, 21, 31}, {"z", 0, 0, 1}});
  three.MixColors();
  EXPECT_EQ(Names(three), (std::vector<std::string>{"x", "y", "z", "x+y", "x+z", "y+z"}));
  EXPECT_EQ(three.GetClr(3), MakeColor(10, 20, 30));  // halves are dropped

  TpunPal one;
  Fill(one, {{"x", 1, 2, 3}});
  one.Modified = false;
  one.MixColors();
  EXPECT_EQ(one.Count(), 1);
  EXPECT_TRUE(one.Modified);
}

TEST(FlossPalette, MixColorsSkipsBlendNamesThatExistInAnyCase) {
  TpunPal palette;
  Fill(palette, {{"a", 0, 0, 0}, {"b", 2, 2, 2}, {"A+B", 9, 9, 9}});
  palette.MixColors();
  EXPECT_EQ(Names(palette), (std::vector<std::string>{"a", "b", "A+B"}));
  EXPECT_EQ(palette.GetClr(2), MakeColor(9, 9, 9));
}

TEST(FlossPalette, NearestClrFollowsEveryChange) {
  TpunPal palette;
  EXPECT_EQ(palette.NearestClr(MakeColor(1, 2, 3)), 0);
  Fill(palette, {{"black", 0, 0, 0}, {"white", 255, 255, 255}});
  EXPECT_EQ(palette.NearestClr(MakeColor(200, 200, 200)), 1);
  palette.PutClr(0, MakeColor(210, 210, 210));
  EXPECT_EQ(palette.NearestClr(MakeColor(200, 200, 200)), 0);
  palette.Sort();  // white moves to the front
  EXPECT_EQ(palette.NearestClr(MakeColor(200, 200, 200)), 1);
  palette.Delete(1);
  EXPECT_EQ(palette.NearestClr(MakeColor(200, 200, 200)), 0);
  TpunPal other;
  Fill(other, {{"r", 255, 0, 0}, {"g", 0, 255, 0}});
  palette.Assign(other);
  EXPECT_EQ(palette.NearestClr(MakeColor(10, 200, 10)), 1);
  std::vector<TColor> colors{MakeColor(250, 1, 1), MakeColor(1, 250, 1)};
  std::vector<int32_t> indices(2, -1);
  palette.NearestClrs(colors.data(), colors.size(), indices.data());
  EXPECT_EQ(indices, (std::vector<int32_t>{0, 1}));
}

TEST(FlossPalette, MixColorsRefusesResultsPastAMillionEntriesBeforeAnyWork) {
  // 1414 plain floss and one blend: 1415 + 1414 * 1413 / 2 = 1,000,406 entries.
  TpunPal palette;
  for (int i = 0; i < 1414; ++i) palette.AddClr(MakeColor(uint8_t(i), 0, 0), std::to_string(i));
  palette.AddClr(0, "a+b");  // a blend is an entry, not a floss to mix
  int reports = 0;
  palette.OnProgress = [&](const std::string&, uint16_t) { ++reports; };
  EXPECT_EQ(MessageOf<ETooManyColors>([&] { palette.MixColors(); }),
            "Too many colors to mix: 1414 floss would give 1000406 entries (at most 1000000).");
  EXPECT_EQ(palette.Count(), 1415);
  EXPECT_EQ(reports, 0);
}
