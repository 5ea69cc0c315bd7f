#include "pattern/cell_colors.h"

#include <algorithm>

#include "composition/composition.h"
#include "composition/pixel_mapping.h"

std::vector<int32_t> CellColors(const TpunCompo& compo) {
  const uint32_t width = compo.Width(), height = compo.Height();
  std::vector<int32_t> cells(size_t(width) * height);
  MapRowsInParallel(
      compo.SourcePicture().Block(), width, height, compo.Palette(),
      [&](size_t, uint32_t y, const int32_t* indices) {
        std::copy(indices, indices + width, cells.begin() + ptrdiff_t(size_t(y) * width));
      },
      [](uint32_t) {});
  return cells;
}
