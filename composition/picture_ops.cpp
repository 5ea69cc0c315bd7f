// Mapping the picture onto the working palette, the transpose ("Rotate image"), the quarter
// turns and resizing.

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "base/parallel.h"
#include "composition/bitmap_file.h"
#include "composition/composition.h"
#include "composition/pixel_mapping.h"
#include "composition/resample.h"

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

// A mapped row: each pixel in its entry's color, then the source row's padding. Each color
// is stored as four bytes whose fourth the next pixel writes over.
void PutMappedRow(const std::vector<std::array<uint8_t, 4>>& shown, const int32_t* indices,
                  uint32_t width, const uint8_t* source_row, uint8_t* out) {
  uint32_t x = 0;
  for (; x + 1 < width; ++x) std::memcpy(out + 3 * size_t(x), shown[size_t(indices[x])].data(), 4);
  std::memcpy(out + 3 * size_t(x), shown[size_t(indices[x])].data(), 3);
  const size_t row = RowLength(width);
  std::copy(source_row + 3 * size_t(width), source_row + row, out + 3 * size_t(width));
}

// How old column x, row y of a width x height picture is placed in the height x width one:
// rows counted from the top.
enum class Placement { Transpose, TurnRight, TurnLeft };

// Old columns [x_begin, x_end) and rows [y_begin, y_end) of `source` (width x height) put
// where `placement` takes them in `target` (height x width).
template <Placement placement>
void PlaceTiles(const uint8_t* source, uint8_t* target, uint32_t width, uint32_t height,
                uint32_t x_begin, uint32_t x_end, size_t y_begin, size_t y_end) {
  const size_t source_row = RowLength(width), target_row = RowLength(height);
  for (size_t tile_y = y_begin; tile_y < y_end; tile_y += kTileRows) {
    const size_t tile_end = std::min<size_t>(y_end, tile_y + kTileRows);
    for (uint32_t x = x_begin; x < x_end; ++x) {
      // The target row, counted from the top: old column x, or its mirror for a left turn.
      const size_t new_y = placement == Placement::TurnLeft ? size_t(width) - 1 - x : x;
      uint8_t* out_row = target + (size_t(width) - 1 - new_y) * target_row;
      for (size_t y = tile_y; y < tile_end; ++y) {
        // Computed afresh rather than stepped, so no pointer ever goes before the block.
        const uint8_t* in = source + (size_t(height) - 1 - y) * source_row + 3 * size_t(x);
        const size_t new_x = placement == Placement::TurnRight ? size_t(height) - 1 - y : y;
        uint8_t* out = out_row + 3 * new_x;
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
    }
  }
}

// The picture with its columns made rows as `placement` says, strip by strip of old
// columns; none when cancelled.
template <Placement placement>
std::optional<TPicture> PlacedPicture(const TPicture& picture, const std::string& text,
                                      const ProgressHandler& progress,
                                      const std::atomic<bool>& cancel) {
  const auto report = [&](const std::string& what, uint16_t percent) {
    if (progress) progress(what, percent);
  };
  const uint32_t width = picture.Width(), height = picture.Height();
  report("Initializing...", 0);
  PictureBlock placed = NewPictureBlock(PictureBytes(height, width));
  const uint8_t* source = picture.Data();
  for (uint32_t strip = 0; strip < width; strip += kStripColumns) {
    if (cancel) {
      report("", 0);
      return std::nullopt;
    }
    const uint32_t strip_end = std::min(width, strip + kStripColumns);
    ParallelFor(height, kParallelRows, [&](size_t begin, size_t end) {
      PlaceTiles<placement>(source, placed.data(), width, height, strip, strip_end, begin, end);
    });
    for (uint32_t x = strip; x < strip_end; ++x) report(text, uint16_t(size_t(x) * 100 / width));
  }
  report("", 0);
  return TPicture(uint16_t(height), uint16_t(width), std::move(placed));
}

}  // namespace

void TpunCompo::Remap() {
  Remap(on_progress_, NeverCancelled());
}

std::vector<std::array<uint8_t, 4>> TpunCompo::ShownColors(
    const std::function<void()>& before_refusal) const {
  if (palette_.Count() == 0) {
    // The nearest entry of an empty palette is 0, which GetClr refuses at the first pixel.
    before_refusal();
    palette_.GetClr(0);
  }
  std::vector<std::array<uint8_t, 4>> shown;
  shown.reserve(size_t(palette_.Count()));
  for (int32_t i = 0; i < palette_.Count(); ++i) {
    const TColor color =
        transparency_on_ && i == transparent_color_ ? kTransparentGrey : palette_.GetClr(i);
    shown.push_back({BlueOf(color), GreenOf(color), RedOf(color), 0});
  }
  return shown;
}

void TpunCompo::Remap(const ProgressHandler& progress, const std::atomic<bool>& cancel) {
  // A mapping that cannot be cancelled may overwrite the picture it replaces: no fresh block
  // to fault in, and never two mapped pictures held at once. A cancellable one must keep it.
  PictureBlock spare;
  if (&cancel == &NeverCancelled() && palette_.Count() > 0) spare = mapped_.TakeUnsharedBlock();
  std::optional<TPicture> mapped = MapPictureInto(std::move(spare), progress, cancel);
  if (mapped) mapped_ = std::move(*mapped);
}

std::optional<TPicture> TpunCompo::MapPicture(const ProgressHandler& progress,
                                              const std::atomic<bool>& cancel) const {
  return MapPictureInto(PictureBlock(), progress, cancel);
}

std::optional<TPicture> TpunCompo::MapPictureInto(PictureBlock spare,
                                                  const ProgressHandler& progress,
                                                  const std::atomic<bool>& cancel) const {
  const auto report = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  const uint32_t width = Width(), height = Height();
  auto report_row = [&](uint32_t y) {
    const uint16_t percent = StepPercent(y, height);
    report(PercentText(percent, " Mapping image"), percent);
  };
  // Rows without pixels are still reported, as in every mapping.
  if (width == 0)
    for (uint32_t y = 0; y < height; ++y) {
      report_row(y);
      report_row(y);
    }
  if (width == 0 || height == 0) {
    report("", 0);
    return TPicture();
  }
  const auto shown = ShownColors([&] { report_row(0); });
  const uint8_t* source = source_.Data();
  const size_t pixels = PictureBytes(width, height);
  PictureBlock block =
      spare.size() == source_.Size() ? std::move(spare) : NewPictureBlock(source_.Size());
  // Every row is written below; the bytes past the rows are the source's.
  std::copy(source + pixels, source + source_.Size(), block.data() + pixels);
  try {
    MapRowsInParallel(
        source_.Block(), width, height, palette_,
        [&](size_t, uint32_t y, const int32_t* indices) {
          const size_t at = PixelOffset(width, height, 0, y);
          PutMappedRow(shown, indices, width, source + at, block.data() + at);
        },
        [&](uint32_t y) {
          if (cancel) throw PassCancelled{};
          report_row(y);
          report_row(y);
        });
  } catch (const PassCancelled&) {
    report("", 0);
    return std::nullopt;
  }
  report("", 0);
  return TPicture(uint16_t(width), uint16_t(height), std::move(block));
}

void TpunCompo::SetMappedPicture(TPicture mapped) {
  if (!mapped.Empty() &&
      (mapped.Width() != Width() || mapped.Height() != Height() || mapped.Size() != source_.Size()))
    throw std::invalid_argument("mapped picture of another size than the source picture");
  mapped_ = std::move(mapped);
}

void TpunCompo::ExportMappedBitmap(const std::string& file_name, const ProgressHandler& progress,
                                   const std::atomic<bool>& cancel) const {
  const auto report = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  const uint32_t width = Width(), height = Height();
  if (!HasPicture()) return;
  if (width == 0 || height == 0) {
    WriteBitmapFile(file_name, source_.Block(), Width(), Height());
    return;
  }
  uint32_t done = 0;
  const auto report_rows = [&] {
    const uint16_t percent = StepPercent(done, height);
    report(PercentText(percent, " Mapping image"), percent);
  };
  const auto shown = ShownColors(report_rows);
  ReplacementFile file(file_name);
  if (!file.Created()) throw EInOutError(FormatMessage("Cannot create file %s", file_name));
  const std::vector<uint8_t> headers = BitmapHeaders(Width(), Height());
  file.Write(headers.data(), headers.size());
  // A band at a time, bottom row first as the file holds them: the mapped picture never
  // exists whole.
  const size_t row = RowLength(width);
  const uint32_t band_rows = MappingBandRows(width, height);
  PictureBlock band(size_t(band_rows) * row);
  const uint8_t* source = source_.Data();
  try {
    MapRowsInParallel(
        source_.Block(), width, height, palette_,
        [&](size_t, uint32_t y, const int32_t* indices) {
          const size_t at = PixelOffset(width, height, 0, y);
          PutMappedRow(shown, indices, width, source + at,
                       band.data() + (at / row % band_rows) * row);
        },
        [&](uint32_t y) {
          if (cancel) throw PassCancelled{};
          const uint32_t stored = height - 1 - y;  // rows before it in the file
          if (stored % band_rows == band_rows - 1 || stored == height - 1)
            file.Write(band.data(), (stored % band_rows + 1) * row);
          report_rows();
          ++done;
        },
        true);
  } catch (const PassCancelled&) {
    report("", 0);
    return;  // the replacement file goes, the target stays as it was
  }
  file.Commit();
  report("", 0);
}

void TpunCompo::Rotate() {
  Rotate(on_progress_, NeverCancelled());
}

void TpunCompo::Rotate(const ProgressHandler& progress, const std::atomic<bool>& cancel) {
  std::optional<TPicture> rotated = RotatedPicture(progress, cancel);
  if (!rotated) return;
  SetPicture(std::move(*rotated));
  modified_ = true;
}

std::optional<TPicture> TpunCompo::RotatedPicture(const ProgressHandler& progress,
                                                  const std::atomic<bool>& cancel) const {
  if (!HasPicture()) return std::nullopt;
  return PlacedPicture<Placement::Transpose>(source_, "Rotating image...", progress, cancel);
}

void TpunCompo::Turn(QuarterTurn turn) {
  std::optional<TPicture> turned = TurnedPicture(turn, on_progress_, NeverCancelled());
  if (!turned) return;
  SetPicture(std::move(*turned));
  modified_ = true;
}

std::optional<TPicture> TpunCompo::TurnedPicture(QuarterTurn turn, const ProgressHandler& progress,
                                                 const std::atomic<bool>& cancel) const {
  if (!HasPicture()) return std::nullopt;
  if (turn == QuarterTurn::Right)
    return PlacedPicture<Placement::TurnRight>(source_, "Rotating image...", progress, cancel);
  return PlacedPicture<Placement::TurnLeft>(source_, "Rotating image...", progress, cancel);
}

void TpunCompo::Resize(uint16_t width, uint16_t height) {
  std::optional<TPicture> resized = ResizedPicture(width, height, on_progress_, NeverCancelled());
  if (!resized) return;
  SetPicture(std::move(*resized));
  modified_ = true;
}

std::optional<TPicture> TpunCompo::ResizedPicture(uint16_t width, uint16_t height,
                                                  const ProgressHandler& progress,
                                                  const std::atomic<bool>& cancel) const {
  if (!HasPicture()) return std::nullopt;
  return ResampledPicture(source_, width, height, progress, cancel);
}
