#include "composition/pixel_mapping.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

#include "base/parallel.h"
#include "palette/floss_palette.h"
#include "palette/nearest_colour_index.h"

namespace {
// Pixels mapped per band, between two rounds of the calling thread's after-row work:
// large enough that starting the second thread is cheap next to the band's work, small
// enough that progress and cancel stay prompt.
constexpr size_t kBandPixels = 1 << 20;
// Fewer pixels than this are mapped on the calling thread alone.
constexpr size_t kMinPartPixels = 32 * 1024;
// Rows are handed to the threads a few at a time, so that one thread meeting more new
// colours than the other does not leave it idle at the end of the band.
constexpr uint32_t kRowsPerTake = 4;

void CheckHolds(const PictureBlock& block, uint32_t width, uint32_t height) {
  if (block.size() < PictureBytes(width, height))
    throw std::logic_error("picture block smaller than its width and height");
}

// For each band: maps its rows on the cores, row y into row_buffer(part, y - top), hands
// each to work(part, y, indices), then runs after_band(top, rows) on the calling thread.
template <typename RowBuffer, typename Work, typename AfterBand>
void MapBands(const PictureBlock& block, uint32_t width, uint32_t height, const TpunPal& palette,
              RowBuffer row_buffer, Work work, AfterBand after_band) {
  CheckHolds(block, width, height);
  const NearestColorIndex& index = palette.NearestIndex();
  const uint32_t band_rows = uint32_t(std::clamp<size_t>(kBandPixels / width, 1, height));
  const size_t min_rows = std::max<size_t>(1, kMinPartPixels / width);
  for (uint32_t top = 0; top < height; top += band_rows) {
    const uint32_t rows = std::min(band_rows, height - top);
    std::atomic<uint32_t> next{0};
    // The parts share the band's rows by taking them in turn rather than by halves; takes
    // come in increasing order, so each part's rows do too.
    ParallelForParts(rows, min_rows, [&](size_t part, size_t, size_t) {
      for (;;) {
        const uint32_t first = next.fetch_add(kRowsPerTake);
        if (first >= rows) break;
        const uint32_t last = std::min(rows, first + kRowsPerTake);
        for (uint32_t r = first; r < last; ++r) {
          const uint32_t y = top + r;
          int32_t* indices = row_buffer(part, r);
          index.FindPixels(block.data() + PixelOffset(width, height, 0, y), width, indices);
          work(part, y, indices);
        }
      }
    });
    after_band(top, rows);
  }
}

}  // namespace

void ForEachMappedRow(const PictureBlock& block, uint32_t width, uint32_t height,
                      const TpunPal& palette, const MappedRowVisitor& visit) {
  if (width == 0 || height == 0) return;
  // The calling thread visits the rows in order once a band is mapped: the band's rows
  // are all kept until then.
  std::vector<int32_t> band(
      std::min<size_t>(size_t(height) * width, std::max<size_t>(kBandPixels, width)));
  MapBands(
      block, width, height, palette,
      [&](size_t, uint32_t r) { return band.data() + size_t(r) * width; },
      [](size_t, uint32_t, const int32_t*) {},
      [&](uint32_t top, uint32_t rows) {
        for (uint32_t r = 0; r < rows; ++r) visit(top + r, band.data() + size_t(r) * width);
      });
}

void MapRowsInParallel(const PictureBlock& block, uint32_t width, uint32_t height,
                       const TpunPal& palette, const MappedRowWork& work,
                       const std::function<void(uint32_t y)>& after_row) {
  if (width == 0 || height == 0) return;
  // Each row is done with as soon as its work is: one row per thread, kept in the cache.
  std::vector<std::vector<int32_t>> rows(MaxParallelParts(), std::vector<int32_t>(width));
  MapBands(
      block, width, height, palette, [&](size_t part, uint32_t) { return rows[part].data(); }, work,
      [&](uint32_t top, uint32_t count) {
        for (uint32_t r = 0; r < count; ++r) after_row(top + r);
      });
}
