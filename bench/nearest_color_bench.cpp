// Maps the whole RGB cube to the DMC floss table with a fresh NearestColorIndex and with the
// plain linear search in the same run, checks they agree, and prints the speed-up, the
// index's memory and the cost of the first lookup after a palette edit.
//
// Usage: nearest_color_bench [palette.clr]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/color.h"
#include "palette/floss_palette.h"
#include "palette/nearest_color_index.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

constexpr size_t kCube = size_t(1) << 24;
constexpr size_t kChunk = size_t(1) << 20;
constexpr size_t kStride = 16;  // the linear search times one color in kStride

// The sampled color of block i of kStride consecutive colors: a scattered position inside
// the block, so the sample is not confined to a few red values.
TColor SampleColor(size_t i) {
  uint32_t h = uint32_t(i) * 2654435761u;
  return TColor(i * kStride + ((h >> 28) & (kStride - 1)));
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
  std::vector<TColor> palette;
  for (const ColorEntry& entry : floss.Colors.Entries()) palette.push_back(entry.color);
  std::printf("palette: %zu colors from %s\n", palette.size(), path.c_str());

  // The index: built fresh, then all 16,777,216 colors in chunks of 1 Mi through FindMany;
  // the median of a few such runs, the machine being shared. Only the sampled results are
  // kept, for the comparison with the linear search below.
  constexpr int kRuns = 3;
  const size_t samples = kCube / kStride;
  std::vector<std::vector<int32_t>> index_sampled(kRuns, std::vector<int32_t>(samples));
  std::vector<TColor> input(kChunk);
  std::vector<int32_t> output(kChunk);
  std::vector<double> index_seconds_runs;
  size_t memory = 0;
  for (int run = 0; run < kRuns; ++run) {
    Clock::duration index_time{};
    Clock::time_point start = Clock::now();
    NearestColorIndex index(palette);
    for (size_t base = 0; base < kCube; base += kChunk) {
      for (size_t k = 0; k < kChunk; ++k) input[k] = TColor(base + k);
      index.FindMany(input.data(), kChunk, output.data());
      index_time += Clock::now() - start;
      for (size_t s = base / kStride; s < (base + kChunk) / kStride; ++s)
        index_sampled[run][s] = output[SampleColor(s) - base];
      start = Clock::now();
    }
    index_seconds_runs.push_back(Seconds(index_time));
    memory = index.MemoryBytes();
  }

  // The same on one thread with Find, to show what the second core adds.
  Clock::duration single_time{};
  {
    const Clock::time_point start = Clock::now();
    NearestColorIndex index(palette);
    int64_t sum = 0;
    for (size_t c = 0; c < kCube; ++c) sum += index.Find(TColor(c));
    single_time = Clock::now() - start;
    if (sum < 0) return 3;  // keeps the loop from being optimised away
  }

  // The linear search on the sample, checked against the index.
  size_t mismatches = 0;
  const Clock::time_point linear_start = Clock::now();
  std::vector<int32_t> linear_sampled(samples);
  for (size_t s = 0; s < samples; ++s) linear_sampled[s] = LinearNearest(palette, SampleColor(s));
  const Clock::duration linear_sample_time = Clock::now() - linear_start;
  for (const std::vector<int32_t>& run : index_sampled) {
    for (size_t s = 0; s < samples; ++s) {
      if (linear_sampled[s] == run[s]) continue;
      if (++mismatches <= 5)
        std::fprintf(stderr, "mismatch at color %06x: index %d, linear %d\n",
                     unsigned(SampleColor(s)), run[s], linear_sampled[s]);
    }
  }
  const double linear_seconds = Seconds(linear_sample_time) * kStride;

  // The first lookup after a palette edit: a fresh index, one Find.
  constexpr int kTrials = 301;
  std::vector<double> build_us, first_us;
  int64_t sum = 0;
  for (int t = 0; t < kTrials; ++t) {
    const TColor wanted = TColor(uint32_t(t) * 2654435761u) & 0xFFFFFF;
    const Clock::time_point a = Clock::now();
    NearestColorIndex index(palette);
    const Clock::time_point b = Clock::now();
    sum += index.Find(wanted);
    const Clock::time_point c = Clock::now();
    build_us.push_back(Seconds(b - a) * 1e6);
    first_us.push_back(Seconds(c - b) * 1e6);
  }
  if (sum < 0) return 3;
  const auto median = [](std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
  };

  const double index_seconds = median(index_seconds_runs);
  std::printf("index, FindMany (build included):  %8.3f s  (median of %d fresh indexes)\n",
              index_seconds, kRuns);
  std::printf("index, Find on one thread:         %8.3f s\n", Seconds(single_time));
  std::printf("linear search (scaled from 1/%zu): %8.3f s\n", kStride, linear_seconds);
  std::printf("speed-up: %.0fx (FindMany), %.0fx (one thread)\n", linear_seconds / index_seconds,
              linear_seconds / Seconds(single_time));
  std::printf("index memory: %.2f MiB\n", double(memory) / (1024.0 * 1024.0));
  std::printf("fresh index, median of %d: construct %.1f us, first Find %.1f us\n", kTrials,
              median(build_us), median(first_us));
  if (mismatches > 0) {
    std::printf("FAILED: %zu sampled results differ from the linear search\n", mismatches);
    return 1;
  }
  std::printf("all %zu sampled colors agree with the linear search\n", samples);
  return 0;
}
