#include "design/cell_patch.h"

#include <algorithm>
#include <stdexcept>

CellPatch::CellPatch(const DesignRaster& raster, const CellRect& rect)
    : rect_(rect.Intersected(raster.Bounds())) {
  cells_.resize(std::size_t(rect_.Cells()));
  const std::size_t width = std::size_t(rect_.Width());
  for (int row = rect_.top; row < rect_.bottom; ++row) {
    const TColor* source = raster.Row(row) + rect_.left;
    std::copy(source, source + width, cells_.begin() + std::size_t(row - rect_.top) * width);
  }
}

CellPatch::CellPatch(const CellRect& rect, std::vector<TColor> old_cells)
    : rect_(rect.Empty() ? CellRect{} : rect), cells_(std::move(old_cells)) {
  if (cells_.size() != std::size_t(rect_.Cells()))
    throw std::invalid_argument("cell patch size does not match its rectangle");
}

CellRect CellPatch::Restore(DesignRaster& raster) const {
  const CellRect target = rect_.Intersected(raster.Bounds());
  const std::size_t stride = std::size_t(rect_.Width());
  for (int row = target.top; row < target.bottom; ++row) {
    const TColor* source =
        cells_.data() + std::size_t(row - rect_.top) * stride + (target.left - rect_.left);
    std::copy(source, source + target.Width(), raster.Row(row) + target.left);
  }
  return target;
}
