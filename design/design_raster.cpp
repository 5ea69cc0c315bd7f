#include "design/design_raster.h"

#include <stdexcept>
#include <string>

void DesignRaster::Resize(int width, int height) {
  if (width < 0 || height < 0)
    throw std::invalid_argument("design size " + std::to_string(width) + " by " +
                                std::to_string(height));
  // A fresh vector rather than assign(): the old cells' memory goes back at once.
  std::vector<TColor> fresh(std::size_t(width) * std::size_t(height), kDesignWhite);
  cells_.swap(fresh);
  width_ = width;
  height_ = height;
}

namespace {
[[noreturn]] void OutsideDesign(int col, int row) {
  throw std::out_of_range("cell (" + std::to_string(col) + ", " + std::to_string(row) +
                          ") outside the design");
}
}  // namespace

TColor DesignRaster::At(int col, int row) const {
  if (!Contains(col, row)) OutsideDesign(col, row);
  return Row(row)[col];
}

void DesignRaster::Set(int col, int row, TColor colour) {
  if (!Contains(col, row)) OutsideDesign(col, row);
  Row(row)[col] = CellColor(colour);
}
