#pragma once
// The editor's cell rules for one cell, lines and rectangles. Each takes design cells, clips
// to the design whatever it is given and returns the rectangle of cells it wrote.

#include "design/design_raster.h"

// Cells [from, to) of one row.
CellRect PaintSpan(DesignRaster& raster, long long row, long long from, long long to,
                   TColor colour);

CellRect PaintCell(DesignRaster& raster, Cell cell, TColor colour);

// The exact integer line from S to E, both ends in, one cell per step along the longer
// direction. The cross coordinate is the exact one rounded half up on the design, so a line
// drawn from either end covers the same cells. S == E paints nothing.
CellRect PaintLine(DesignRaster& raster, Cell s, Cell e, TColor colour);

// The rectangle of OrderedBox(S, E): the outline one cell wide, or every cell for the filled
// one. A box without extent in a direction draws nothing.
CellRect PaintRectangle(DesignRaster& raster, Cell s, Cell e, TColor colour);
CellRect PaintFilledRectangle(DesignRaster& raster, Cell s, Cell e, TColor colour);

// The cells a step from S to E may write, on the design: what its undo step saves first.
CellRect LineBounds(const DesignRaster& raster, Cell s, Cell e);
CellRect ShapeBounds(const DesignRaster& raster, Cell s, Cell e);
