// Resizing a 12-megapixel photograph-like picture to 200 stitches wide (the height in
// proportion), against a plain per-pixel area mean on one thread in the same run: the
// times, their ratio, and whether the bytes agree. Target: 30 ms at most.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>

#include "bench/photograph_picture.h"
#include "composition/composition.h"
#include "composition/resample.h"

namespace {

constexpr uint16_t kWidth = 4000, kHeight = 3000, kTargetWidth = 200;
constexpr double kTargetSeconds = 0.030;

double BestSeconds(int runs, const std::function<void()>& work) {
  double best = 1e9;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// The source span [low, high) of new index X on an axis of `from` -> `to`, and the weight
// of source index x in it.
struct Axis {
  uint64_t from, to;
  uint64_t Low(uint64_t X) const { return X * from / to; }
  uint64_t High(uint64_t X) const {
    return to > from ? X * from / to + 1 : ((X + 1) * from - 1) / to + 1;
  }
  uint64_t Weight(uint64_t X, uint64_t x) const {
    if (to > from) return 1;
    return std::min((X + 1) * from, (x + 1) * to) - std::max(X * from, x * to);
  }
  uint64_t Total() const { return to > from ? 1 : from; }
};

// Each new pixel summed over the source pixels it covers.
PictureBlock PlainResample(const PictureBlock& block, uint32_t W, uint32_t H, uint32_t w,
                           uint32_t h) {
  PictureBlock out(PictureBytes(w, h), 0);
  const Axis across{W, w}, down{H, h};
  const uint64_t total = across.Total() * down.Total();
  for (uint32_t Y = 0; Y < h; ++Y)
    for (uint32_t X = 0; X < w; ++X) {
      uint64_t sums[3] = {0, 0, 0};
      for (uint64_t y = down.Low(Y); y < down.High(Y); ++y)
        for (uint64_t x = across.Low(X); x < across.High(X); ++x) {
          const uint64_t weight = across.Weight(X, x) * down.Weight(Y, y);
          const uint8_t* pixel = block.data() + PixelOffset(W, H, uint32_t(x), uint32_t(y));
          for (int c = 0; c < 3; ++c) sums[c] += weight * pixel[c];
        }
      for (int c = 0; c < 3; ++c)
        out[PixelOffset(w, h, X, Y) + c] = uint8_t((2 * sums[c] + total) / (2 * total));
    }
  return out;
}

}  // namespace

int main() {
  const TPicture source(kWidth, kHeight, MakePhotographPicture(kWidth, kHeight, 20261210));
  const uint16_t height = ProportionalHeight(kWidth, kHeight, kTargetWidth);
  std::optional<TPicture> resized;
  const double fast = BestSeconds(7, [&] {
    resized = ResampledPicture(source, kTargetWidth, height, nullptr, NeverCancelled());
  });
  PictureBlock plain;
  const double reference = BestSeconds(
      2, [&] { plain = PlainResample(source.Block(), kWidth, kHeight, kTargetWidth, height); });
  const bool same = resized && resized->Block() == plain;
  std::printf(
      "resize %ux%u -> %ux%u: %.2f ms (target %.0f ms), plain per-pixel %.2f ms, "
      "%.1fx faster, bytes %s\n",
      kWidth, kHeight, kTargetWidth, height, fast * 1e3, kTargetSeconds * 1e3, reference * 1e3,
      reference / fast, same ? "the same" : "DIFFER");
  return same && fast <= kTargetSeconds ? 0 : 1;
}
