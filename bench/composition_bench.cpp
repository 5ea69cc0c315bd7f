// Every pass over a 12-megapixel photograph-like picture, on the 454 floss of dmc25.clr,
// with the fast exact lookup and with the plain per-pixel linear search in the same run.
// A 24-bit bitmap given as the argument (a real photograph, say) replaces the picture.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "composition/bitmap_file.h"
#include "composition/color_search.h"
#include "composition/composition.h"
#include "palette/nearest_color_index.h"
#include "pattern/report_lines.h"

namespace {

constexpr uint16_t kWidth = 4000, kHeight = 3000;

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of a few runs: the machine is shared, and a neighbour's burst only ever adds time.
double BestSeconds(int runs, const std::function<void()>& prepare,
                   const std::function<void()>& work) {
  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    prepare();
    best = std::min(best, Seconds(work));
  }
  return best;
}

// Smooth shading, a few objects, fine texture and sensor noise: a picture with a
// photograph's spread of colors and its runs of near-equal pixels.
PictureBlock MakePicture(uint16_t width, uint16_t height) {
  PictureBlock block(PictureBytes(width, height), 0);
  std::mt19937 noise(12345);
  std::normal_distribution<double> grain(0.0, 2.0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      double u = double(x) / width, v = double(y) / height;
      double r = 150 + 90 * std::sin(6.0 * u + 2.0 * v), g = 120 + 80 * std::cos(4.0 * v - 3.0 * u),
             b = 110 + 100 * std::sin(5.0 * (u * v) + 1.0);
      double dx = u - 0.6, dy = v - 0.4;
      if (dx * dx + dy * dy < 0.04) r = 220 - 300 * (dx * dx + dy * dy), g *= 0.5, b *= 0.4;
      if (std::fabs(u - 0.25) < 0.1 && std::fabs(v - 0.7) < 0.15)
        r *= 0.3, g = 90 + 60 * v, b *= 0.5;
      const double texture =
          12 * std::sin(x * 0.05) * std::sin(y * 0.031) + 6 * std::sin(x * 0.4 + y * 0.3);
      r += texture, g += texture, b += 0.5 * texture;
      auto channel = [&](double c) { return uint8_t(std::clamp(c + grain(noise), 0.0, 255.0)); };
      PutPixelAt(block.data(), PixelOffset(width, height, x, y),
                 MakeColor(channel(r), channel(g), channel(b)));
    }
  }
  return block;
}

long CurrentRssKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The peak resident size since the last ResetPeak (VmHWM).
long PeakRssKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

struct Pass {
  const char* name;
  std::function<void(TpunCompo&)> run;
};

void Prepare(TpunCompo& compo, const PictureBlock& picture, uint16_t width, uint16_t height) {
  compo.SetPicture(TPicture(width, height, picture));
}

}  // namespace

int main(int argc, char** argv) {
  std::string palette_file = PUNTEL_RUNTIME_DIR "/dmc25.clr";
  TpunPal floss;
  floss.LoadFromFile(palette_file);
  uint16_t width = kWidth, height = kHeight;
  PictureBlock picture;
  if (argc > 1) {
    std::vector<uint8_t> file = ReadBitmapFile(argv[1]);
    BitmapLayout layout;
    if (CheckBitmap(file.data(), file.size(), layout) != BitmapVerdict::Taken ||
        layout.height < 8) {
      std::fprintf(stderr, "%s is not a 24-bit bitmap of 8 rows or more\n", argv[1]);
      return 1;
    }
    width = layout.width;
    height = layout.height;
    picture = TakeBitmapPixels(std::move(file), layout);
  } else {
    picture = MakePicture(kWidth, kHeight);
  }
  std::printf("picture: %ux%u (%.1f megapixels), palette: %d floss\n", width, height,
              width * double(height) / 1e6, floss.Count());
  // The plain search is timed on every eighth row and scaled: every pass is linear in the
  // pixels. The whole color search runs in full both ways.
  const uint16_t band_height = height / 8;
  PictureBlock band;
  // Every eighth row, from all over the picture; a block holds its bottom row first.
  for (uint32_t k = band_height; k-- > 0;) {
    const auto row = picture.begin() + ptrdiff_t(PixelOffset(width, height, 0, 8 * k));
    band.insert(band.end(), row, row + ptrdiff_t(RowLength(width)));
  }

  std::vector<std::string> threads;
  floss.ListThreads(threads);
  const std::vector<Pass> passes = {
      {"Remap", [](TpunCompo& c) { c.Remap(); }},
      {"SearchUsedColors", [](TpunCompo& c) { c.SearchUsedColors(); }},
      {"DotHistogram", [](TpunCompo& c) { c.DotHistogram(); }},
      {"floss report", [&](TpunCompo& c) { FlossReportLines(c, threads); }},
      {"color usage report", [](TpunCompo& c) { ColorUsageLines(c, c.Palette()); }},
  };

  TpunCompo fast(&floss);
  Prepare(fast, picture, width, height);
  ResetPeak();
  const long baseline = CurrentRssKiB();
  std::printf("%-22s %10s %12s %9s\n", "pass", "fast (s)", "plain (s)", "ratio");
  bool met = true;
  for (const Pass& pass : passes) {
    // Each run starts from a fresh palette, so its search structure is built inside the time.
    double quick = BestSeconds(
        5, [&] { fast.ResetPalette(); }, [&] { pass.run(fast); });
    TpunCompo plain(&floss);
    Prepare(plain, band, width, band_height);
    NearestColorIndex::UsePlainSearch(true);
    double slow = 8 * Seconds([&] { pass.run(plain); });
    NearestColorIndex::UsePlainSearch(false);
    std::printf("%-22s %10.3f %12.2f %8.0fx  (plain: 1/8 of the rows, scaled)\n", pass.name, quick,
                slow, slow / quick);
    met = met && slow / quick >= 100;
  }

  const long passes_extra = (PeakRssKiB() - baseline) / 1024;

  TSearchOptions options;  // the defaults: 50 floss, increment 1, dots 1, light 75
  size_t reports = 0;
  std::string last;
  // The search with and without a progress handler, in alternate runs so that a busy
  // moment of the machine does not fall on one of them only.
  ResetPeak();
  const long search_baseline = CurrentRssKiB();
  // One composition for both, its handler set for every other run.
  TpunCompo work(&floss);
  Prepare(work, picture, width, height);
  const ProgressHandler counting = [&](const std::string& text, uint16_t) {
    ++reports;
    last = text;
  };
  double quiet = 1e9, reported = 1e9;
  int floss_left = 0, floss_reported = 0;
  for (int run = 0; run < 14; ++run) {
    const bool with_progress = run % 2 == 1;
    work.SetOnProgress(with_progress ? counting : nullptr);
    work.Palette().OnProgress = work.OnProgress();
    reports = 0;
    const double time = BestSeconds(
        1, [&] { work.ResetPalette(); }, [&] { AutomaticColorSearch(work, options); });
    (with_progress ? reported : quiet) = std::min(with_progress ? reported : quiet, time);
    (with_progress ? floss_reported : floss_left) = work.Palette().Count();
  }
  const size_t reports_per_search = reports;
  // The search works on a copy of the composition, which holds two picture blocks.
  const long search_extra =
      (PeakRssKiB() - search_baseline) / 1024 - long(2 * picture.size() >> 20);
  TpunCompo plain_work(&floss);
  Prepare(plain_work, picture, width, height);
  NearestColorIndex::UsePlainSearch(true);
  const double plain_search = BestSeconds(
      1, [&] { plain_work.ResetPalette(); }, [&] { AutomaticColorSearch(plain_work, options); });
  NearestColorIndex::UsePlainSearch(false);
  const int floss_plain = plain_work.Palette().Count();
  // Not only as many floss: the very same ones, in the same order.
  const auto& found = work.Palette().Colors.Entries();
  const auto& expected = plain_work.Palette().Colors.Entries();
  const bool same_floss = found == expected;
  std::printf("%-22s %10.3f %12.2f %8.0fx  (%d floss left; plain search %d, %s)\n",
              "automatic search", quiet, plain_search, plain_search / quiet, floss_left,
              floss_plain, same_floss ? "the same floss" : "OTHER FLOSS");
  std::printf("search with progress:  %.3f s, %+.1f%% with %zu reports\n", reported,
              100 * (reported - quiet) / quiet, reports_per_search);
  std::printf(
      "extra memory: passes %ld MiB, search %ld MiB beyond its copy's two picture blocks "
      "(%zu MiB)\n",
      passes_extra, search_extra, 2 * picture.size() >> 20);
  met = met && passes_extra <= 64 && search_extra <= 64 && plain_search / quiet >= 50 &&
        same_floss && floss_reported == floss_left && (reported - quiet) / quiet < 0.10;
  std::printf("targets (passes >= 100x, search >= 50x, progress < 10%%, memory <= 64 MiB): %s\n",
              met ? "met" : "NOT met");
  return same_floss ? 0 : 1;
}
