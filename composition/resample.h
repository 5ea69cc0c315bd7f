#pragma once
// Resampling a picture to another size in stitches. Exact integer arithmetic, so that the
// same picture and sizes give the same bytes on every machine and thread count:
// - where an axis shrinks, a new column is the area mean of the source columns it covers,
//   each weighed by its overlap (new column X spans [X*W, (X+1)*W), source column x spans
//   [x*w, (x+1)*w));
// - where an axis grows, a new column repeats source column floor(X*W/w): a stitch pattern
//   must not invent blended colors;
// - each channel is floor((2*S + T) / (2*T)), the weighted sum S over the total weight T,
//   rounded half up.

#include <atomic>
#include <cstdint>
#include <optional>

#include "base/progress.h"
#include "composition/picture.h"

// `source` at width x height, reporting "Resizing image..." to `progress`; none when
// `cancel` is found set. Raises std::invalid_argument for a zero size or an empty source.
std::optional<TPicture> ResampledPicture(const TPicture& source, uint16_t width, uint16_t height,
                                         const ProgressHandler& progress,
                                         const std::atomic<bool>& cancel);

// The height that keeps the proportions of a source_width x source_height picture at
// `width`, rounded half up, at least 1 and at most 65535; ProportionalWidth likewise.
// Raise std::invalid_argument for a zero source size.
uint16_t ProportionalHeight(uint32_t source_width, uint32_t source_height, uint32_t width);
uint16_t ProportionalWidth(uint32_t source_width, uint32_t source_height, uint32_t height);
