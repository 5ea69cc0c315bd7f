// Palettes of about 100,000 entries: blends 454 floss (MixColors), adds the blends to the
// 454-entry palette as the colour table's "+Clr&Pal" does, then counts the threads of the
// result. Each step runs with the plain linear rule (a pass over the palette for every name,
// written here) and with the model's own in the same run; the results must be equal. The
// colour table's sort of the blended palette is timed the same way.
//
// Usage: palette_bench [palette.clr]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "palette/append_missing.h"
#include "palette/floss_palette.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetSeconds = 0.5;

double Time(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

TColor Blend(TColor a, TColor b) {
  return MakeColor(uint8_t((RedOf(a) + RedOf(b)) / 2), uint8_t((GreenOf(a) + GreenOf(b)) / 2),
                   uint8_t((BlueOf(a) + BlueOf(b)) / 2));
}

void LinearMix(TpunPal& palette) {
  TpunPal work;
  work.Assign(palette);
  const int32_t n = palette.Count();
  int32_t index = 0;
  for (int32_t i = 0; i < n; ++i) {
    const std::string& a = palette.Colors.Strings(i);
    if (a.find('+') != std::string::npos) continue;
    for (int32_t j = i + 1; j < n; ++j) {
      const std::string& b = palette.Colors.Strings(j);
      if (b.find('+') != std::string::npos) continue;
      const std::string name = a + "+" + b;
      if (!work.IndexOfName(name, index))
        work.AddClr(Blend(palette.GetClr(i), palette.GetClr(j)), name);
    }
  }
  palette.Assign(work);
}

int32_t LinearAppend(TpunPal& target, const TpunPal& source) {
  int32_t appended = 0, index = 0;
  for (const ColorEntry& entry : source.Colors.Entries())
    if (!target.IndexOfName(entry.name, index)) {
      target.AddClr(entry.color, entry.name);
      ++appended;
    }
  return appended;
}

int32_t LinearThreadCount(const TpunPal& palette) {
  std::vector<std::string> threads;
  auto add = [&](const std::string& thread) {
    if (std::find(threads.begin(), threads.end(), thread) == threads.end())
      threads.push_back(thread);
  };
  std::string first, second;
  for (const ColorEntry& entry : palette.Colors.Entries()) {
    if (SplitBlend(entry.name, first, second)) {
      add(first);
      add(second);
    } else {
      add(entry.name);
    }
  }
  return int32_t(threads.size());
}

// The exchange sort as it reads: n * (n - 1) / 2 comparisons.
void LinearSort(TpunPal& palette) {
  std::vector<ColorEntry> entries = palette.Colors.Entries();
  std::vector<int32_t> sums;
  for (const ColorEntry& entry : entries)
    sums.push_back(RedOf(entry.color) + GreenOf(entry.color) + BlueOf(entry.color));
  for (size_t i = 0; i < entries.size(); ++i) {
    int32_t key = sums[i];
    for (size_t j = i + 1; j < entries.size(); ++j)
      if (sums[j] > key) {
        std::swap(entries[i], entries[j]);
        std::swap(sums[i], sums[j]);
        key = sums[i];
      }
  }
  palette.Clear();
  for (const ColorEntry& entry : entries) palette.AddClr(entry.color, entry.name);
}

// Prints one step's line; false when the fast run missed its target.
bool Line(const char* step, double linear, double fast, bool equal) {
  const bool met = fast < kTargetSeconds;
  std::printf("%-30s linear %8.3f s  fast %7.3f s  ratio %8.1fx  results %s  target < %.1f s: %s\n",
              step, linear, fast, fast > 0 ? linear / fast : 0.0, equal ? "equal" : "DIFFER",
              kTargetSeconds, met ? "met" : "MISSED");
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : PUNTEL_RUNTIME_DIR "/dmc25.clr";
  TpunPal floss;
  floss.LoadFromFile(path);
  if (floss.Count() == 0) {
    std::fprintf(stderr, "cannot read floss colors from %s\n", path.c_str());
    return 2;
  }
  std::printf("palette: %d floss from %s\n", floss.Count(), path.c_str());
  bool equal = true, met = true;

  TpunPal linear_mix, fast_mix;
  linear_mix.Assign(floss);
  fast_mix.Assign(floss);
  const double mix_linear = Time([&] { LinearMix(linear_mix); });
  const double mix_fast = Time([&] { fast_mix.MixColors(); });
  bool same = linear_mix.Colors.Entries() == fast_mix.Colors.Entries();
  std::printf("blended: %d entries\n", fast_mix.Count());
  met &= Line("MixColors", mix_linear, mix_fast, same);
  equal &= same;

  TpunPal linear_sum, fast_sum;
  linear_sum.Assign(floss);
  fast_sum.Assign(floss);
  int32_t linear_added = 0, fast_added = 0;
  const double add_linear = Time([&] { linear_added = LinearAppend(linear_sum, fast_mix); });
  const double add_fast = Time([&] { fast_added = AppendMissing(fast_sum, fast_mix); });
  same = linear_added == fast_added && linear_sum.Colors.Entries() == fast_sum.Colors.Entries();
  std::printf("added: %d of %d entries\n", fast_added, fast_mix.Count());
  met &= Line("add palette (+Clr&Pal)", add_linear, add_fast, same);
  equal &= same;

  int32_t linear_threads = 0;
  uint16_t fast_threads = 0;
  const double count_linear = Time([&] { linear_threads = LinearThreadCount(linear_sum); });
  fast_sum.Modified = true;
  const double count_fast = Time([&] { fast_threads = fast_sum.ThreadCount(); });
  same = uint16_t(linear_threads) == fast_threads;
  std::printf("threads: %d\n", linear_threads);
  met &= Line("ThreadCount", count_linear, count_fast, same);
  equal &= same;

  // The colour table's "&Sort" on the blended palette, beside the three steps above.
  TpunPal linear_sorted, fast_sorted;
  linear_sorted.Assign(fast_mix);
  fast_sorted.Assign(fast_mix);
  const double sort_linear = Time([&] { LinearSort(linear_sorted); });
  const double sort_fast = Time([&] { fast_sorted.Sort(); });
  same = linear_sorted.Colors.Entries() == fast_sorted.Colors.Entries();
  Line("Sort (also)", sort_linear, sort_fast, same);
  equal &= same;

  std::printf("fast blend, add and count: %s; results: %s\n", met ? "met" : "MISSED",
              equal ? "equal" : "DIFFER");
  return equal ? 0 : 1;
}
