#include "composition/resample.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "base/parallel.h"

namespace {

// Source pixels read per band of new rows: between bands the cancel flag is read and the
// progress reported, a few times a second even on a large picture.
constexpr size_t kBandSourcePixels = size_t(1) << 21;
// Source pixels a part of a band reads at the least, so that a small picture stays on the
// calling thread.
constexpr size_t kMinPartSourcePixels = size_t(1) << 16;
// Rows of 8-bit values a 16-bit sum holds: 257 * 255 = 65535.
constexpr uint32_t kPlainRows = 257;
// New rows a part takes at a time.
constexpr uint32_t kRowsPerTake = 2;

// Which source indices (columns or rows) each new index weighs, and by how much.
struct AxisTaps {
  std::vector<uint32_t> first;    // per new index: its first source index
  std::vector<size_t> begin;      // per new index, and one more: where its weights start
  std::vector<uint32_t> weights;  // for first, first + 1, ...
  uint32_t total = 1;             // the weights of every new index add up to it
  uint32_t full = 1;              // the weight of a source index wholly inside a new one
};

AxisTaps MakeTaps(uint32_t from, uint32_t to) {
  AxisTaps taps;
  taps.first.reserve(to);
  taps.begin.reserve(size_t(to) + 1);
  taps.begin.push_back(0);
  if (to > from) {
    // Growing: each new index repeats one source index, weight 1.
    for (uint32_t X = 0; X < to; ++X) {
      taps.first.push_back(uint32_t(uint64_t(X) * from / to));
      taps.weights.push_back(1);
      taps.begin.push_back(taps.weights.size());
    }
    return taps;
  }
  taps.total = from;
  taps.full = to;
  for (uint32_t X = 0; X < to; ++X) {
    const uint64_t low = uint64_t(X) * from, high = low + from;
    const uint32_t x_first = uint32_t(low / to), x_last = uint32_t((high - 1) / to);
    taps.first.push_back(x_first);
    for (uint64_t x = x_first; x <= x_last; ++x)
      taps.weights.push_back(
          uint32_t(std::min(high, (x + 1) * to) - std::max(low, x * uint64_t(to))));
    taps.begin.push_back(taps.weights.size());
  }
  return taps;
}

// The buffers of one part: per source column and channel, the weighted sum of the source
// rows of a new row, kept whole so that the columns pass sums exactly what the 2-D mean
// would.
struct RowSums {
  std::vector<uint32_t> weighed;
  // Rows of the full weight, added unweighed and scaled once: in 16 bits, half the bytes to
  // carry through the cache, for up to kPlainRows rows at a time.
  std::vector<uint16_t> plain;
};

class Resampler {
 public:
  Resampler(const TPicture& source, uint32_t width, uint32_t height)
      : source_(source),
        width_(width),
        height_(height),
        columns_(MakeTaps(source.Width(), width)),
        rows_(MakeTaps(source.Height(), height)),
        total_(uint64_t(columns_.total) * rows_.total) {}

  // New rows [begin, end) into `out`, the new picture's block.
  void Rows(RowSums& sums, uint32_t begin, uint32_t end, uint8_t* out) const {
    const size_t values = 3 * size_t(source_.Width());
    sums.weighed.resize(values);
    sums.plain.resize(values);
    for (uint32_t y = begin; y < end; ++y) {
      SumSourceRows(sums, y);
      PutRow(sums.weighed.data(), out + PixelOffset(width_, height_, 0, y));
    }
  }

  // The source pixels a new row reads, on average.
  size_t SourcePixelsPerRow() const {
    return std::max<size_t>(1, rows_.weights.size() / height_) * source_.Width();
  }

 private:
  void SumSourceRows(RowSums& sums, uint32_t y) const {
    const size_t values = sums.weighed.size();
    uint32_t* const weighed = sums.weighed.data();
    uint16_t* const plain = sums.plain.data();
    std::fill(weighed, weighed + values, 0u);
    uint32_t plain_rows = 0;
    const auto add_plain = [&] {
      for (size_t i = 0; i < values; ++i) weighed[i] += rows_.full * uint32_t(plain[i]);
      plain_rows = 0;
    };
    const uint32_t source_width = source_.Width(), source_height = source_.Height();
    for (size_t k = rows_.begin[y]; k < rows_.begin[y + 1]; ++k) {
      const uint32_t source_y = rows_.first[y] + uint32_t(k - rows_.begin[y]);
      const uint8_t* row = source_.Data() + PixelOffset(source_width, source_height, 0, source_y);
      const uint32_t weight = rows_.weights[k];
      if (weight == rows_.full && rows_.full > 1) {
        if (plain_rows == 0) std::fill(plain, plain + values, uint16_t(0));
        for (size_t i = 0; i < values; ++i) plain[i] = uint16_t(plain[i] + row[i]);
        if (++plain_rows == kPlainRows) add_plain();
      } else {
        for (size_t i = 0; i < values; ++i) weighed[i] += weight * row[i];
      }
    }
    if (plain_rows > 0) add_plain();
  }

  void PutRow(const uint32_t* sums, uint8_t* out) const {
    const uint64_t twice_total = 2 * total_;
    for (uint32_t x = 0; x < width_; ++x) {
      uint64_t blue = 0, green = 0, red = 0;
      const uint32_t* in = sums + 3 * size_t(columns_.first[x]);
      for (size_t k = columns_.begin[x]; k < columns_.begin[x + 1]; ++k, in += 3) {
        const uint64_t weight = columns_.weights[k];
        blue += weight * in[0];
        green += weight * in[1];
        red += weight * in[2];
      }
      out[3 * size_t(x)] = uint8_t((2 * blue + total_) / twice_total);
      out[3 * size_t(x) + 1] = uint8_t((2 * green + total_) / twice_total);
      out[3 * size_t(x) + 2] = uint8_t((2 * red + total_) / twice_total);
    }
  }

  const TPicture& source_;
  const uint32_t width_, height_;
  const AxisTaps columns_, rows_;
  const uint64_t total_;
};

uint16_t Proportional(uint32_t given_source, uint32_t other_source, uint32_t given) {
  if (given_source == 0 || other_source == 0)
    throw std::invalid_argument("proportions of a picture without pixels");
  const uint64_t size =
      (2 * uint64_t(other_source) * given + given_source) / (2 * uint64_t(given_source));
  return uint16_t(std::clamp<uint64_t>(size, 1, 65535));
}

}  // namespace

std::optional<TPicture> ResampledPicture(const TPicture& source, uint16_t width, uint16_t height,
                                         const ProgressHandler& progress,
                                         const std::atomic<bool>& cancel) {
  if (width == 0 || height == 0) throw std::invalid_argument("resampling to a zero size");
  if (source.Empty() || source.Width() == 0 || source.Height() == 0)
    throw std::invalid_argument("resampling a picture without pixels");
  RequireHolds(source.Block(), source.Width(), source.Height());
  const auto report = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  const Resampler resampler(source, width, height);
  PictureBlock block = NewPictureBlock(PictureBytes(width, height));
  const size_t per_row = resampler.SourcePixelsPerRow();
  const uint32_t band_rows = uint32_t(std::clamp<size_t>(kBandSourcePixels / per_row, 1, height));
  const size_t min_rows = std::max<size_t>(1, kMinPartSourcePixels / per_row);
  std::vector<RowSums> sums(MaxParallelParts());
  for (uint32_t done = 0; done < height; done += band_rows) {
    if (cancel) {
      report("", 0);
      return std::nullopt;
    }
    const uint32_t count = std::min<uint32_t>(band_rows, height - done);
    std::atomic<uint32_t> next{0};
    // Rows taken in turn rather than by halves: the parts end together.
    ParallelForParts(count, min_rows, [&](size_t part, size_t, size_t) {
      for (;;) {
        const uint32_t first = next.fetch_add(kRowsPerTake);
        if (first >= count) break;
        resampler.Rows(sums[part], done + first, done + std::min(count, first + kRowsPerTake),
                       block.data());
      }
    });
    for (uint32_t y = done; y < done + count; ++y)
      report("Resizing image...", StepPercent(y, height));
  }
  report("", 0);
  return TPicture(width, height, std::move(block));
}

uint16_t ProportionalHeight(uint32_t source_width, uint32_t source_height, uint32_t width) {
  return Proportional(source_width, source_height, width);
}

uint16_t ProportionalWidth(uint32_t source_width, uint32_t source_height, uint32_t height) {
  return Proportional(source_height, source_width, height);
}
