// Mapping the picture onto the working palette, and the transpose ("Rotate image").

#include <algorithm>
#include <vector>

#include "base/parallel.h"
#include "composition/composition.h"
#include "composition/pixel_mapping.h"

namespace {

constexpr TColor kTransparentGrey = MakeColor(128, 128, 128);

// Old columns transposed per progress batch, and the side of the square tiles inside it:
// a tile's source rows and target rows both stay in the cache while it is copied.
constexpr uint32_t kStripColumns = 128;
constexpr uint32_t kTileRows = 64;
// Old rows per part when a strip is shared between the cores.
constexpr size_t kParallelRows = 256;

// Thrown out of a mapping to end it at once when a cancel is found.
struct PassCancelled {};

// Old columns [x_begin, x_end) and rows [y_begin, y_end) of `source` (width x height) put
// at column y, row x of `target` (height x width); rows counted from the top.
void TransposeTiles(const uint8_t* source, uint8_t* target, uint32_t width, uint32_t height,
                    uint32_t x_begin, uint32_t x_end, size_t y_begin, size_t y_end) {
  const size_t source_row = RowLength(width), target_row = RowLength(height);
  for (size_t tile_y = y_begin; tile_y < y_end; tile_y += kTileRows) {
    const size_t tile_end = std::min<size_t>(y_end, tile_y + kTileRows);
    for (uint32_t x = x_begin; x < x_end; ++x) {
      uint8_t* out = target + (size_t(width) - 1 - x) * target_row + 3 * tile_y;
      for (size_t y = tile_y; y < tile_end; ++y, out += 3) {
        // Computed afresh rather than stepped, so no pointer ever goes before the block.
        const uint8_t* in = source + (size_t(height) - 1 - y) * source_row + 3 * size_t(x);
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
    }
  }
}

}  // namespace

void TpunCompo::Remap() {
  Remap(on_progress_, NeverCancelled());
}

void TpunCompo::Remap(const ProgressHandler& progress, const std::atomic<bool>& cancel) {
  const auto report = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  const uint32_t width = Width(), height = Height();
  auto report_row = [&](uint32_t y) {
    const uint16_t percent = StepPercent(y, height);
    report(PercentText(percent, " Mapping image"), percent);
  };
  if (!HasPicture()) {
    report("", 0);
    return;
  }
  if (width == 0) {
    // Rows without pixels are still reported, as in every mapping.
    for (uint32_t y = 0; y < height; ++y) {
      report_row(y);
      report_row(y);
    }
    mapped_ = TPicture();
    report("", 0);
    return;
  }
  if (height > 0 && palette_.Count() == 0) {
    // The nearest entry of an empty palette is 0, which GetClr refuses at the first pixel.
    report_row(0);
    palette_.GetClr(0);
  }

  // The color each entry is drawn in.
  std::vector<TColor> shown(size_t(palette_.Count()));
  for (int32_t i = 0; i < palette_.Count(); ++i)
    shown[size_t(i)] =
        transparency_on_ && i == transparent_color_ ? kTransparentGrey : palette_.GetClr(i);
  // Every pixel is written below; the bytes around them are the source's.
  PictureBlock block = source_.Block();
  uint8_t* mapped = block.data();
  try {
    MapRowsInParallel(
        source_.Block(), width, height, palette_,
        [&](size_t, uint32_t y, const int32_t* indices) {
          uint8_t* pixel = mapped + PixelOffset(width, height, 0, y);
          for (uint32_t x = 0; x < width; ++x, pixel += 3)
            PutPixelAt(pixel, 0, shown[size_t(indices[x])]);
        },
        [&](uint32_t y) {
          if (cancel) throw PassCancelled{};
          report_row(y);
          report_row(y);
        });
  } catch (const PassCancelled&) {
    report("", 0);
    return;
  }
  mapped_ = TPicture(uint16_t(width), uint16_t(height), std::move(block));
  report("", 0);
}

void TpunCompo::Rotate() {
  Rotate(on_progress_, NeverCancelled());
}

void TpunCompo::Rotate(const ProgressHandler& progress, const std::atomic<bool>& cancel) {
  if (!HasPicture()) return;
  const auto report = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  const uint32_t width = Width(), height = Height();
  report("Initializing...", 0);
  PictureBlock rotated(PictureBytes(height, width), 0);
  const uint8_t* source = source_.Data();
  for (uint32_t strip = 0; strip < width; strip += kStripColumns) {
    if (cancel) {
      report("", 0);
      return;
    }
    const uint32_t strip_end = std::min(width, strip + kStripColumns);
    ParallelFor(height, kParallelRows, [&](size_t begin, size_t end) {
      TransposeTiles(source, rotated.data(), width, height, strip, strip_end, begin, end);
    });
    for (uint32_t x = strip; x < strip_end; ++x)
      report("Rotating image...", uint16_t(size_t(x) * 100 / width));
  }
  SetPicture(TPicture(uint16_t(height), uint16_t(width), std::move(rotated)));
  modified_ = true;
  report("", 0);
}
