#pragma once
// The palette entry nearest to a color under CIEDE2000, fast enough for every pixel of a
// photograph: the answers of the plain search in index order (LinearNearestDe2000), ties
// to the lowest index, 0 for an empty palette. The palette's Lab values are computed once;
// each distinct color asked about is answered once and remembered in a table over the RGB
// cube, so a picture costs one search per distinct color and a table load per pixel.

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "palette/cie_lab.h"
#include "palette/de2000_lightness_scan.h"
#include "palette/nearest_buffer_pool.h"
#include "palette/nearest_color_search.h"

class NearestDe2000Search final : public NearestColorSearch {
 public:
  explicit NearestDe2000Search(std::vector<TColor> colors);
  static std::unique_ptr<NearestColorSearch> Make(std::vector<TColor> colors);

  int32_t Find(TColor color) const override;
  void FindMany(const TColor* colors, size_t count, int32_t* indices) const override;
  void FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const override;
  size_t MemoryBytes() const override;

 private:
  // Palettes up to this size remember their answers (answer + 1 in 16 bits).
  static constexpr size_t kMostRemembered = 65535;

  // The answer to `color`, `hint` carried from one color to the next (see Nearest);
  // `answers` is what Answers() gave.
  int32_t Answer(uint16_t* answers, TColor color, int32_t& hint) const;
  uint16_t* Answers() const;  // null when the palette is too large to remember

  size_t size_;
  De2000LightnessScan scan_;
  mutable std::once_flag answers_once_;
  mutable NearestBufferPool::Buffer<uint16_t> answers_;  // per RGB color; 0 while unknown
  mutable std::atomic<bool> answers_made_ = false;
};

// The plain search: every entry in index order, a strictly smaller distance replaces the
// best, stopping at distance 0. The reference the fast search must agree with.
int32_t LinearNearestDe2000(const std::vector<LabColor>& palette, const LabColor& color);

// LinearNearestDe2000 one color at a time, each color converted afresh: what the fast
// search replaces, for benchmarks and tests to compare against.
class LinearDe2000Search final : public NearestColorSearch {
 public:
  explicit LinearDe2000Search(const std::vector<TColor>& colors);
  static std::unique_ptr<NearestColorSearch> Make(std::vector<TColor> colors);

  int32_t Find(TColor color) const override { return LinearNearestDe2000(lab_, LabOf(color)); }
  void FindMany(const TColor* colors, size_t count, int32_t* indices) const override;
  void FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const override;
  size_t MemoryBytes() const override;

 private:
  std::vector<LabColor> lab_;
};
