// The design editor's fill with its undo patch, against a plain queue fill one cell at a time
// in the same run (the same cells checked), on a 1000 by 1000 design of one colour and on a
// one-cell corridor winding up and down its columns (every row cut into single cells, the
// worst case for a span fill); the heap the fill takes beyond the design; and the undo of the
// 10^6-cell fill. Targets: 10 ms, 30 ms, 4 bytes per cell of the changed rectangle plus
// 1 MiB, 10 ms.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <queue>

#include "design/cell_patch.h"
#include "design/flood_fill.h"
#include "tests/design/reference_fill.h"

// Every allocation of the process is counted, so the fill's own stack and its patch show.
namespace {
std::atomic<long long> live_bytes{0}, peak_bytes{0};
constexpr std::size_t kHeader = 16;

void* Counted(std::size_t size) {
  void* block = std::malloc(size + kHeader);
  if (!block) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  const long long now = live_bytes += (long long)size;
  long long peak = peak_bytes;
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
  }
  return static_cast<char*>(block) + kHeader;
}

void Uncounted(void* pointer) {
  if (!pointer) return;
  void* block = static_cast<char*>(pointer) - kHeader;
  live_bytes -= (long long)*static_cast<std::size_t*>(block);
  std::free(block);
}
}  // namespace

void* operator new(std::size_t size) {
  return Counted(size);
}
void* operator new[](std::size_t size) {
  return Counted(size);
}
void operator delete(void* pointer) noexcept {
  Uncounted(pointer);
}
void operator delete[](void* pointer) noexcept {
  Uncounted(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
  Uncounted(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  Uncounted(pointer);
}

namespace {

constexpr int kSize = 1000;
constexpr TColor kInk = MakeColor(200, 30, 40), kPaint = MakeColor(20, 40, 220);

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of a few runs, each on a fresh copy made outside the clock.
template <class Work>
double Best(const DesignRaster& design, Work work, int runs = 7) {
  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    DesignRaster copy = design;
    best = std::min(best, Seconds([&] { work(copy); }));
  }
  return best;
}

DesignRaster Serpentine() {
  DesignRaster raster(kSize, kSize);
  for (int x = 1; x < kSize; x += 2)
    for (int y = 0; y < kSize; ++y)
      if (y != ((x / 2) % 2 == 0 ? kSize - 1 : 0)) raster.Set(x, y, kInk);
  return raster;
}

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

bool all_met = true;

void Report(const char* what, double seconds, double reference, double target) {
  const bool met = seconds <= target;
  all_met = all_met && met;
  std::printf("%-34s %8.2f ms  plain queue fill %8.2f ms  ratio %5.1fx  target %4.0f ms  %s\n",
              what, seconds * 1e3, reference * 1e3, reference / seconds, target * 1e3,
              Verdict(met));
}

void BenchFill(const char* what, const DesignRaster& design, double target) {
  DesignRaster mine = design, plain = design;
  FillRecorded(mine, {0, 0}, kPaint);
  ReferenceFill(plain, {0, 0}, kPaint);
  if (!(mine == plain)) {
    std::printf("%s: the fill and the plain fill DIFFER\n", what);
    all_met = false;
  }
  const double seconds = Best(design, [](DesignRaster& copy) {
    FillRecorded(copy, {0, 0}, kPaint);
  });
  const double reference = Best(
      design,
      [](DesignRaster& copy) {
        ReferenceFill(copy, {0, 0}, kPaint);
      },
      3);
  Report(what, seconds, reference, target);

  // The heap taken beyond the design while filling, the patch it returns included.
  DesignRaster copy = design;
  const long long before = live_bytes;
  peak_bytes = before;
  const RecordedFill step = FillRecorded(copy, {0, 0}, kPaint);
  const long long extra = peak_bytes - before;
  const long long allowed = 4 * step.changed.Cells() + (1 << 20);
  all_met = all_met && extra <= allowed;
  std::printf("%-34s %8.2f MiB extra (patch %.2f MiB)  allowed %.2f MiB  %s\n", "  memory",
              extra / 1048576.0, step.before.Bytes() / 1048576.0, allowed / 1048576.0,
              Verdict(extra <= allowed));
}

void BenchUndo() {
  const DesignRaster design(kSize, kSize);
  DesignRaster filled = design;
  const RecordedFill step = FillRecorded(filled, {0, 0}, kPaint);
  const double seconds = Best(filled, [&](DesignRaster& copy) { step.before.Restore(copy); });
  // The plain way back: every cell of the rectangle set again through the checked access.
  const double reference = Best(filled, [&](DesignRaster& copy) {
    for (int y = step.changed.top; y < step.changed.bottom; ++y)
      for (int x = step.changed.left; x < step.changed.right; ++x) copy.Set(x, y, design.At(x, y));
  });
  DesignRaster undone = filled;
  step.before.Restore(undone);
  if (!(undone == design)) {
    std::printf("undo does not give back the design\n");
    all_met = false;
  }
  const bool met = seconds <= 0.010;
  all_met = all_met && met;
  std::printf("%-34s %8.2f ms  per-cell restore %8.2f ms  ratio %5.1fx  target %4.0f ms  %s\n",
              "undo of the 10^6-cell fill", seconds * 1e3, reference * 1e3, reference / seconds,
              10.0, Verdict(met));
}

}  // namespace

int main() {
  BenchFill("fill 1000 x 1000 of one colour", DesignRaster(kSize, kSize), 0.010);
  BenchFill("fill 1000 x 1000 serpentine", Serpentine(), 0.030);
  BenchUndo();
  std::printf("%s\n", all_met ? "all targets met" : "some targets MISSED");
  return 0;
}
