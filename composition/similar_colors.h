#pragma once
// The pairs of one RemoveSimilarColors round without comparing every pair: entries that can
// merge (no channel 0) are bucketed in cubes whose side is the tolerance plus one, so every
// entry within the tolerance of another lies in one of the 27 cubes around it.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/color.h"

class SimilarColors {
 public:
  SimilarColors(std::vector<TColor> colors, uint32_t tolerance);

  // Appends, in increasing order, every j > i not marked in `merged` whose three channels
  // all lie within the tolerance of entry i's. An entry with a channel equal to 0 neither
  // merges nor takes another in.
  void Partners(int32_t i, const std::vector<char>& merged, std::vector<int32_t>& out) const;

 private:
  static constexpr TColor kNever = 0xFFFFFFFF;  // no color value has a top byte
  uint32_t CubeKey(int red, int green, int blue) const;

  std::vector<TColor> colors_;  // kNever for an entry that cannot merge
  int tolerance_;
  int side_;
  int cubes_;                                         // per axis
  std::vector<std::pair<uint32_t, int32_t>> sorted_;  // (cube key, index), ascending
};
