#pragma once
// Fill: the 4-connected area of cells of exactly the seed's colour, painted in a colour.
// Iterative span fill with its own stack on the heap, so no design is too big for the
// thread's stack.

#include "design/cell_patch.h"
#include "design/design_raster.h"

// A seed off the design, or a colour equal to the area's, changes nothing and returns at once.
CellRect Fill(DesignRaster& raster, Cell seed, TColor colour);

// The fill with its undo patch: the old cells of the rectangle it changed.
struct RecordedFill {
  CellRect changed;
  CellPatch before;
};
RecordedFill FillRecorded(DesignRaster& raster, Cell seed, TColor colour);
