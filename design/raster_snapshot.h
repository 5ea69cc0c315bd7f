#pragma once
// The whole design, size and cells, kept by a step that replaces it (a resize).

#include <cstddef>

#include "design/design_raster.h"

class RasterSnapshot {
 public:
  explicit RasterSnapshot(const DesignRaster& raster) : saved_(raster) {}

  std::size_t Bytes() const { return saved_.Cells().size() * sizeof(TColor); }
  int Width() const { return saved_.Width(); }
  int Height() const { return saved_.Height(); }

  // Gives the design back its saved size and cells; returns the whole design.
  CellRect Restore(DesignRaster& raster) const {
    raster = saved_;
    return raster.Bounds();
  }

 private:
  DesignRaster saved_;
};
