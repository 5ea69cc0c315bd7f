#pragma once
// The old cells of a rectangle of the design, saved before a step paints it and put back when
// the step is undone: 4 bytes per cell of the rectangle, nothing else.

#include <cstddef>
#include <vector>

#include "design/design_raster.h"

class CellPatch {
 public:
  CellPatch() = default;
  // Saves the cells of rect that lie on the design.
  CellPatch(const DesignRaster& raster, const CellRect& rect);
  // Takes cells already gathered, row by row; their count must be the rect's (else
  // std::invalid_argument).
  CellPatch(const CellRect& rect, std::vector<TColor> old_cells);

  const CellRect& Rect() const { return rect_; }
  std::size_t Bytes() const { return cells_.size() * sizeof(TColor); }

  // Puts the saved cells back and returns where. The design must still hold the rectangle (a
  // resize after the step is undone first); cells past its edges are skipped.
  CellRect Restore(DesignRaster& raster) const;

 private:
  CellRect rect_;
  std::vector<TColor> cells_;
};
