// The hashed name rules against the linear ones they replace, on random palettes whose
// names repeat in other letter case (Latin-1 capitals too), as blends "A+B" and exactly.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "palette/append_missing.h"
#include "palette/floss_palette.h"
#include "palette/name_index.h"

namespace {

std::string RandomName(std::mt19937& rng) {
  static const std::string letters = "aAbB\xE9\xC9\xD7\xF7";  // e-acute both cases, x and /
  std::string name;
  const int length = 1 + int(rng() % 2);
  for (int k = 0; k < length; ++k) name += letters[rng() % letters.size()];
  if (rng() % 4 == 0) name += "+" + RandomName(rng);  // may hold a second "+"
  return name;
}

void FillRandom(TpunPal& palette, std::mt19937& rng, int count) {
  for (int i = 0; i < count; ++i) palette.AddClr(TColor(rng() & 0xFFFFFF), RandomName(rng));
}

// The rules as they read: a pass over the list for each name.
int32_t LinearAppend(TpunPal& target, const TpunPal& source) {
  int32_t appended = 0, index = 0;
  for (int32_t i = 0; i < source.Count(); ++i)
    if (!target.IndexOfName(source.GetName(i), index)) {
      target.AddClr(source.GetClr(i), source.GetName(i));
      ++appended;
    }
  return appended;
}

void LinearMix(TpunPal& palette) {
  TpunPal work;
  work.Assign(palette);
  const int32_t n = palette.Count();
  int32_t index = 0;
  for (int32_t i = 0; i < n; ++i) {
    const std::string a = palette.GetName(i);
    if (a.find('+') != std::string::npos) continue;
    for (int32_t j = i + 1; j < n; ++j) {
      const std::string b = palette.GetName(j);
      if (b.find('+') != std::string::npos || work.IndexOfName(a + "+" + b, index)) continue;
      const TColor x = palette.GetClr(i), y = palette.GetClr(j);
      work.AddClr(
          MakeColor(uint8_t((RedOf(x) + RedOf(y)) / 2), uint8_t((GreenOf(x) + GreenOf(y)) / 2),
                    uint8_t((BlueOf(x) + BlueOf(y)) / 2)),
          a + "+" + b);
    }
  }
  palette.Assign(work);
}

int32_t LinearThreads(const TpunPal& palette, std::vector<std::string>& target) {
  auto add = [&](const std::string& thread) {
    if (std::find(target.begin(), target.end(), thread) == target.end()) target.push_back(thread);
  };
  for (int32_t i = 0; i < palette.Count(); ++i) {
    const std::string name = palette.GetName(i);
    const auto plus = name.find('+');
    if (plus == std::string::npos) {
      add(name);
    } else {
      add(name.substr(0, plus));
      add(name.substr(plus + 1));
    }
  }
  return int32_t(target.size());
}

}  // namespace

TEST(PaletteNameRules, IndexFindsWhatIndexOfNameFinds) {
  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    TpunPal palette;
    FillRandom(palette, rng, int(rng() % 60));
    FoldedNameIndex index(palette.Colors);
    for (int probe = 0; probe < 40; ++probe) {
      const std::string name = RandomName(rng);
      int32_t linear = -1;
      palette.IndexOfName(name, linear);
      ASSERT_EQ(index.Find(name), linear) << name;
      if (index.Add(name, palette.Count())) palette.AddClr(0, name);
      ASSERT_EQ(index.Contains(name), true);
    }
    int32_t expected = 0;
    for (int32_t i = 0; i < palette.Count(); ++i) expected += index.Find(palette.GetName(i)) == i;
    EXPECT_EQ(int32_t(index.Size()), expected);  // one key per distinct folded name
  }
}

TEST(PaletteNameRules, AppendMissingMatchesTheLinearRule) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30; ++round) {
    TpunPal fast, linear, source;
    FillRandom(fast, rng, int(rng() % 30));
    linear.Assign(fast);
    FillRandom(source, rng, int(rng() % 50));  // duplicates within the source too
    fast.Modified = linear.Modified = false;
    const int32_t appended = LinearAppend(linear, source);
    ASSERT_EQ(AppendMissing(fast, source), appended);
    ASSERT_EQ(fast.Colors.Entries(), linear.Colors.Entries());
    EXPECT_EQ(fast.Modified, appended > 0);
  }
  TpunPal self;
  self.AddClr(1, "a");
  self.AddClr(2, "A");
  EXPECT_EQ(AppendMissing(self, self), 0);
  EXPECT_EQ(self.Count(), 2);
  EXPECT_EQ(AppendMissing(self, self.Colors.Entries()), 0);
  TpunPal empty;
  EXPECT_EQ(AppendMissing(empty, self), 1);  // "A" is the same name as "a"
  EXPECT_EQ(empty.GetName(0), "a");
  EXPECT_EQ(AppendMissing(empty, {{"b", 5}, {"\xC9", 6}, {"B", 7}, {"\xE9", 8}}), 2);
  EXPECT_EQ(empty.Colors.Entries(), (std::vector<ColorEntry>{{"a", 1}, {"b", 5}, {"\xC9", 6}}));
}

TEST(PaletteNameRules, MixColorsAndThreadsMatchTheLinearRules) {
  std::mt19937 rng(23);
  for (int round = 0; round < 25; ++round) {
    TpunPal fast, linear;
    FillRandom(fast, rng, int(rng() % 40));
    linear.Assign(fast);
    fast.MixColors();
    LinearMix(linear);
    ASSERT_EQ(fast.Colors.Entries(), linear.Colors.Entries());

    std::vector<std::string> fast_threads{"a", "b+"}, linear_threads = fast_threads;
    ASSERT_EQ(fast.ListThreads(fast_threads), LinearThreads(linear, linear_threads));
    ASSERT_EQ(fast_threads, linear_threads);
    std::vector<std::string> fresh;
    EXPECT_EQ(fast.ThreadCount(), uint16_t(LinearThreads(linear, fresh)));
  }
}
