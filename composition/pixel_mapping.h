#pragma once
// The inner step of every pass over a picture: the nearest working-palette entry of each
// pixel, exactly as the plain per-pixel search finds it, computed a band of rows at a time
// on all cores.

#include <cstdint>
#include <functional>

#include "composition/picture_block.h"

class TpunPal;

// work(part, y, indices) runs for every row y on the thread that mapped it: indices[x] is
// the nearest entry of `palette` to the pixel at column x (0 for an empty palette). Rows
// of a band come in any order but each part's rows in increasing y, with
// part < MaxParallelParts() telling the threads apart (one accumulator per part).
// after_row(y) then runs on the calling thread for every row in order, once its band is
// done: progress reports and cancel checks go there. The block must hold width x height
// pixels.
// With `bottom_up` the bands go from the bottom row up and after_row meets each band's rows
// bottom first: the order of the rows in the block and in a bitmap file.
using MappedRowWork = std::function<void(size_t part, uint32_t y, const int32_t* indices)>;
void MapRowsInParallel(const PictureBlock& block, uint32_t width, uint32_t height,
                       const TpunPal& palette, const MappedRowWork& work,
                       const std::function<void(uint32_t y)>& after_row, bool bottom_up = false);

// The rows of a band for a picture of this size: a band's rows are all mapped before
// after_row sees the first of them.
uint32_t MappingBandRows(uint32_t width, uint32_t height);
