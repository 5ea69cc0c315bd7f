#pragma once
// How a palette finds the entry nearest to a color: least squared RGB distance, ties to the
// lowest index, 0 for an empty palette. The fast index does it for the program; benchmarks
// give a palette the plain linear search instead, to time every pass against it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/color.h"

class NearestColorSearch {
 public:
  virtual ~NearestColorSearch() = default;

  // Safe to call from several threads at once.
  virtual int32_t Find(TColor color) const = 0;
  // indices[i] = Find(colors[i]) for i < count; may share a large batch between the cores.
  virtual void FindMany(const TColor* colors, size_t count, int32_t* indices) const = 0;
  // The same for `count` pixels of a picture row, three bytes each: blue, green, red. On
  // the calling thread only, so passes can split a picture between the cores themselves.
  virtual void FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const = 0;
  // Bytes held, the colors included.
  virtual size_t MemoryBytes() const = 0;
};

// Makes the search for one revision of a palette's colors.
using NearestSearchMaker =
    std::function<std::unique_ptr<NearestColorSearch>(std::vector<TColor> colors)>;

// The plain linear search over the palette: the reference every search must agree with.
int32_t LinearNearest(const std::vector<TColor>& colors, TColor color);

// LinearNearest, one color at a time: what the index replaces, for benchmarks to compare.
class LinearColorSearch final : public NearestColorSearch {
 public:
  explicit LinearColorSearch(std::vector<TColor> colors) : colors_(std::move(colors)) {}
  static std::unique_ptr<NearestColorSearch> Make(std::vector<TColor> colors);

  int32_t Find(TColor color) const override { return LinearNearest(colors_, color); }
  void FindMany(const TColor* colors, size_t count, int32_t* indices) const override;
  void FindPixels(const uint8_t* pixels, size_t count, int32_t* indices) const override;
  size_t MemoryBytes() const override;

 private:
  std::vector<TColor> colors_;
};
