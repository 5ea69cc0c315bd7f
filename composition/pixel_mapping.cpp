#include "composition/pixel_mapping.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "base/parallel.h"
#include "palette/floss_palette.h"
#include "palette/nearest_colour_index.h"

namespace {
// Pixels mapped per band: large enough that starting the second thread is cheap next to
// the band's work, small enough that the buffers stay a few MiB.
constexpr size_t kBandPixels = 1 << 20;
// Fewer pixels than this are mapped on the calling thread alone.
constexpr size_t kMinPartPixels = 32 * 1024;
}  // namespace

namespace {

void CheckHolds(const PictureBlock& block, uint32_t width, uint32_t height) {
  if (block.size() < PictureBytes(width, height))
    throw std::logic_error("picture block smaller than its width and height");
}

// Maps the rows of each band on the cores with `work`, then runs `after_band`.
template <typename Work, typename AfterBand>
void MapBands(const PictureBlock& block, uint32_t width, uint32_t height, const TpunPal& palette,
              std::vector<int32_t>& indices, Work work, AfterBand after_band) {
  const NearestColorIndex& index = palette.NearestIndex();
  const uint32_t band_rows = uint32_t(std::clamp<size_t>(kBandPixels / width, 1, height));
  indices.resize(size_t(band_rows) * width);
  for (uint32_t top = 0; top < height; top += band_rows) {
    const uint32_t rows = std::min(band_rows, height - top);
    ParallelForParts(rows, std::max<size_t>(1, kMinPartPixels / width),
                     [&](size_t part, size_t begin, size_t end) {
                       for (size_t r = begin; r < end; ++r) {
                         const uint32_t y = top + uint32_t(r);
                         int32_t* row = indices.data() + r * width;
                         index.FindPixels(block.data() + PixelOffset(width, height, 0, y), width, row);
                         work(part, y, row);
                       }
                     });
    after_band(top, rows);
  }
}

}  // namespace

void ForEachMappedRow(const PictureBlock& block, uint32_t width, uint32_t height,
                      const TpunPal& palette, const MappedRowVisitor& visit) {
  if (width == 0 || height == 0) return;
  CheckHolds(block, width, height);
  std::vector<int32_t> indices;
  MapBands(block, width, height, palette, indices, [](size_t, uint32_t, const int32_t*) {},
           [&](uint32_t top, uint32_t rows) {
             for (uint32_t r = 0; r < rows; ++r) visit(top + r, indices.data() + size_t(r) * width);
           });
}

void MapRowsInParallel(const PictureBlock& block, uint32_t width, uint32_t height,
                       const TpunPal& palette, const MappedRowWork& work,
                       const std::function<void(uint32_t y)>& after_row) {
  if (width == 0 || height == 0) return;
  CheckHolds(block, width, height);
  std::vector<int32_t> indices;
  MapBands(block, width, height, palette, indices, work, [&](uint32_t top, uint32_t rows) {
    for (uint32_t r = 0; r < rows; ++r) after_row(top + r);
  });
}
