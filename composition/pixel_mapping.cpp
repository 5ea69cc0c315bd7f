#include "composition/pixel_mapping.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "base/parallel.h"
#include "palette/floss_palette.h"
#include "palette/nearest_color_search.h"

namespace {
// Pixels mapped per band, between two rounds of the calling thread's after-row work:
// large enough that starting the second thread is cheap next to the band's work, small
// enough that progress and cancel stay prompt.
constexpr size_t kBandPixels = 1 << 20;
// Fewer pixels than this are mapped on the calling thread alone.
constexpr size_t kMinPartPixels = 32 * 1024;
// Rows are handed to the threads a few at a time, so that one thread meeting more new
// colors than the other does not leave it idle at the end of the band.
constexpr uint32_t kRowsPerTake = 4;
}  // namespace

uint32_t MappingBandRows(uint32_t width, uint32_t height) {
  if (width == 0 || height == 0) return 1;
  return uint32_t(std::clamp<size_t>(kBandPixels / width, 1, height));
}

void MapRowsInParallel(const PictureBlock& block, uint32_t width, uint32_t height,
                       const TpunPal& palette, const MappedRowWork& work,
                       const std::function<void(uint32_t y)>& after_row, bool bottom_up) {
  if (width == 0 || height == 0) return;
  RequireHolds(block, width, height);
  const NearestColorSearch& index = palette.NearestIndex();
  // Each row is done with as soon as its work is: one row per thread, kept in the cache.
  std::vector<std::vector<int32_t>> rows(MaxParallelParts(), std::vector<int32_t>(width));
  const uint32_t band_rows = MappingBandRows(width, height);
  const size_t min_rows = std::max<size_t>(1, kMinPartPixels / width);
  for (uint32_t done = 0; done < height; done += band_rows) {
    const uint32_t count = std::min(band_rows, height - done);
    const uint32_t top = bottom_up ? height - done - count : done;
    std::atomic<uint32_t> next{0};
    // The parts share the band's rows by taking them in turn rather than by halves; takes
    // come in increasing order, so each part's rows do too.
    ParallelForParts(count, min_rows, [&](size_t part, size_t, size_t) {
      int32_t* const indices = rows[part].data();
      for (;;) {
        const uint32_t first = next.fetch_add(kRowsPerTake);
        if (first >= count) break;
        for (uint32_t y = top + first; y < top + std::min(count, first + kRowsPerTake); ++y) {
          index.FindPixels(block.data() + PixelOffset(width, height, 0, y), width, indices);
          work(part, y, indices);
        }
      }
    });
    if (bottom_up)
      for (uint32_t k = count; k-- > 0;) after_row(top + k);
    else
      for (uint32_t y = top; y < top + count; ++y) after_row(y);
  }
}
