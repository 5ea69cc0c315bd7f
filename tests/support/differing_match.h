#pragma once
// A small palette and a color whose nearest entry by exact RGB differs from its nearest
// entry by CIEDE2000, so a test can see which rule a lookup followed.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/color.h"
#include "palette/cie_lab.h"
#include "palette/nearest_de2000.h"

struct DifferingMatch {
  std::vector<TColor> palette;
  TColor color = 0;
  int32_t rgb = 0;        // the least squared RGB distance, lowest index on ties
  int32_t ciede2000 = 0;  // LinearNearestDe2000's answer
};

inline int32_t PlainRgbNearest(const std::vector<TColor>& palette, TColor color) {
  int32_t best = 0;
  int64_t best_distance = INT64_MAX;
  for (size_t i = 0; i < palette.size(); ++i) {
    const int64_t r = int64_t(RedOf(palette[i])) - RedOf(color);
    const int64_t g = int64_t(GreenOf(palette[i])) - GreenOf(color);
    const int64_t b = int64_t(BlueOf(palette[i])) - BlueOf(color);
    const int64_t distance = r * r + g * g + b * b;
    if (distance < best_distance) best = int32_t(i), best_distance = distance;
  }
  return best;
}

inline int32_t PlainDe2000Nearest(const std::vector<TColor>& palette, TColor color) {
  std::vector<LabColor> lab;
  for (TColor entry : palette) lab.push_back(LabOf(entry));
  return LinearNearestDe2000(lab, LabOf(color));
}

// A dark green, a grey, a dark blue and a skin tone; the first color of a coarse walk over
// the RGB cube on which the two rules part.
inline std::optional<DifferingMatch> FindDifferingMatch() {
  DifferingMatch found;
  found.palette = {MakeColor(40, 90, 40), MakeColor(128, 128, 128), MakeColor(30, 40, 110),
                   MakeColor(220, 170, 140)};
  for (int r = 0; r < 256; r += 17)
    for (int g = 0; g < 256; g += 17)
      for (int b = 0; b < 256; b += 17) {
        const TColor color = MakeColor(uint8_t(r), uint8_t(g), uint8_t(b));
        found.rgb = PlainRgbNearest(found.palette, color);
        found.ciede2000 = PlainDe2000Nearest(found.palette, color);
        if (found.rgb != found.ciede2000) {
          found.color = color;
          return found;
        }
      }
  return std::nullopt;
}
