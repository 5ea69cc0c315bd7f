#pragma once
// The palette entry nearest to a color under CIEDE2000, exactly as the plain search in index
// order finds it (only a strictly smaller distance replaces the best, so ties go to the
// lowest index), without measuring every entry. The entries are grouped by squares of the
// (a, b) plane and sorted by lightness within a group. A lookup passes over the groups
// whose box alone rules them out, and in the others measures entries outward from the
// color's own lightness, stopping once the lightness difference alone rules out the rest
// (DeltaE2000 >= |dL| / S_L, and S_L <= 1.75). An entry inside that reach is measured only
// when two cheaper lower bounds of its distance do not already exceed the best one.

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
  // Per scan position, by group, lightness, then index: one entry for each distinct color, the
  // lowest index holding it (a later duplicate can never win).
  std::vector<double> lightness_, a_, b_, chroma_;
  std::vector<int32_t> index_;
  std::vector<int32_t> position_of_;  // per palette index
  // Runs of scan positions whose entries share a square of the (a, b) plane, sorted by
  // lightness within, with the box and the largest chroma of their entries.
  struct Group {
    size_t begin, end;
    double least_a, most_a, least_b, most_b, most_chroma;
  };
  std::vector<Group> groups_;
};
