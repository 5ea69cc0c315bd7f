#pragma once
// The plain fill rule, one cell at a time from a queue: what the span fill is checked
// against in the tests and timed against in the benchmark.

#include <queue>

#include "design/design_raster.h"

inline void ReferenceFill(DesignRaster& raster, Cell seed, TColor colour) {
  const TColor region = raster.At(seed.col, seed.row);
  if (region == colour) return;
  std::queue<Cell> queue;
  raster.Set(seed.col, seed.row, colour);
  queue.push(seed);
  while (!queue.empty()) {
    const Cell c = queue.front();
    queue.pop();
    for (const Cell n : {Cell{c.col - 1, c.row}, Cell{c.col + 1, c.row}, Cell{c.col, c.row - 1},
                         Cell{c.col, c.row + 1}})
      if (raster.Contains(n.col, n.row) && raster.At(n.col, n.row) == region) {
        raster.Set(n.col, n.row, colour);
        queue.push(n);
      }
  }
}
