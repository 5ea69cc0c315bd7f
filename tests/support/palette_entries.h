#pragma once
// A palette's entries as plain values, for tests that compare or fill palettes.

#include <string>
#include <utility>
#include <vector>

#include "palette/floss_palette.h"

using Entries = std::vector<std::pair<std::string, TColor>>;

inline Entries EntriesOf(const TpunPal& palette) {
  Entries entries;
  for (int32_t i = 0; i < palette.Count(); ++i)
    entries.emplace_back(palette.GetName(i), palette.GetClr(i));
  return entries;
}

inline void Fill(TpunPal& palette, const Entries& entries) {
  palette.Clear();
  for (const auto& [name, color] : entries) palette.AddClr(color, name);
}
