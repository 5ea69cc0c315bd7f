#pragma once
// The palette entry nearest to a color under CIEDE2000, exactly as the plain search in index
// order finds it (only a strictly smaller distance replaces the best, so ties go to the
// lowest index), without measuring every entry. The entries are kept sorted by lightness; a
// lookup measures them outward from the color's own lightness and stops once the lightness
// difference alone rules out the rest, since DeltaE2000 >= |dL| / 1.75. An entry inside
// that reach is measured only when a cheaper lower bound of its distance does not already
// exceed the best one.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/color.h"
#include "palette/cie_lab.h"

class De2000LightnessScan {
 public:
  explicit De2000LightnessScan(const std::vector<TColor>& colors);

  bool Empty() const { return index_.empty(); }
  // The index of the entry nearest to `color`, 0 for an empty palette. `hint` is the
  // scan position of an entry likely to be near (the previous answer, for the colors of a
  // picture, which change little from one to the next), or -1; on return it is the scan
  // position of the answer. Safe from several threads at once.
  int32_t Nearest(const LabColor& color, int32_t& hint) const;
  // The scan position of the entry kept for `index`.
  int32_t PositionOf(int32_t index) const { return position_of_[size_t(index)]; }

  size_t MemoryBytes() const;

 private:
  // Per scan position, by lightness, then by index: one entry for each distinct color, the
  // lowest index holding it (a later duplicate can never win).
  std::vector<double> lightness_, a_, b_, chroma_;
  std::vector<int32_t> index_;
  std::vector<int32_t> position_of_;  // per palette index
};
