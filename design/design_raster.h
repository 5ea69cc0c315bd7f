#pragma once
// The design: width by height cells of colour values, white when new or resized.

#include <cstddef>
#include <vector>

#include "base/color.h"
#include "design/cell_rect.h"

constexpr TColor kDesignWhite = MakeColor(255, 255, 255);

// Cells hold colour values only (top byte zero); anything else given is cut to 24 bits, so a
// cell can never look like a working mark of the fill.
constexpr TColor CellColor(TColor colour) {
  return colour & 0xFFFFFFu;
}

class DesignRaster {
 public:
  DesignRaster() = default;
  DesignRaster(int width, int height) { Resize(width, height); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  CellRect Bounds() const { return {0, 0, width_, height_}; }
  bool Contains(int col, int row) const {
    return col >= 0 && col < width_ && row >= 0 && row < height_;
  }

  // Erases the design to white at the new size; a negative side raises std::invalid_argument.
  void Resize(int width, int height);

  // Checked access: a cell outside raises std::out_of_range.
  TColor At(int col, int row) const;
  void Set(int col, int row, TColor colour);

  // Unchecked row access for the drawing rules, which clip first.
  TColor* Row(int row) { return cells_.data() + std::size_t(row) * std::size_t(width_); }
  const TColor* Row(int row) const {
    return cells_.data() + std::size_t(row) * std::size_t(width_);
  }
  const std::vector<TColor>& Cells() const { return cells_; }

  friend bool operator==(const DesignRaster&, const DesignRaster&) = default;

 private:
  int width_ = 0, height_ = 0;
  std::vector<TColor> cells_;
};
