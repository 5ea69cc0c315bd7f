#pragma once
// Ellipses in the box of OrderedBox(S, E): mirror-symmetric, touching all four sides. In each
// row and in each column the ellipse takes every cell up to the one the exact curve passes
// through (the cell a midpoint walk picks); the outline is every cell of that shape with a
// side on a cell outside it, the filled ellipse the outline and every cell inside it.

#include "design/design_raster.h"

// Row y (0 = the box's top) of the filled ellipse in a width by height box: the columns
// [first, last) from the box's left.
struct EllipseSpan {
  long long first = 0, last = 0;
};
EllipseSpan EllipseRow(long long width, long long height, long long y);

CellRect PaintEllipse(DesignRaster& raster, Cell s, Cell e, TColor colour);
CellRect PaintFilledEllipse(DesignRaster& raster, Cell s, Cell e, TColor colour);
