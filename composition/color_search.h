#pragma once
// The automatic color search: brings a composition's working palette down to the colors
// its picture uses, drops rarely used dark ones and merges ever less similar ones until at
// most a chosen number of floss remains. The composition operations it is built from
// (SearchUsedColors, DotHistogram, RemoveUniqueEntries, RemoveSimilarColors) are
// TpunCompo's and are defined in color_search.cpp and similar_colors.cpp.

#include <atomic>
#include <cstdint>
#include <memory>

#include "base/color.h"
#include "base/progress.h"
#include "palette/floss_palette.h"

class TpunCompo;

struct TSearchOptions {
  bool KeepOriginalPalette = false;  // start from the working palette, not the reference one
  uint16_t MaxFloss = 50;            // stop once the palette has this many entries or fewer
  uint8_t Increment = 1;             // first merge tolerance, and its growth per round
  bool RemoveLonely = true;          // run RemoveUniqueEntries(LightThreshold, Dots)
  uint8_t Dots = 1;
  uint8_t LightThreshold = 75;
};

// Light level of a color: (R + G + B) * 100 / 768, so 0 to 99.
constexpr int LightLevel(TColor color) {
  return (RedOf(color) + GreenOf(color) + BlueOf(color)) * 100 / 768;
}

// Runs the search on `work` (a working copy of the document's composition): reset to the
// reference palette unless kept, used colors, lonely entries, sort, merge rounds, sort.
// Returns false, at once, when `cancel` is found set after a step or a merge round.
bool AutomaticColorSearch(TpunCompo& work, const TSearchOptions& options,
                          const ProgressHandler& progress, const std::atomic<bool>& cancel);
// The same reporting to work's OnProgress and polling work's own cancel flag, which is
// cleared once, when the search starts.
bool AutomaticColorSearch(TpunCompo& work, const TSearchOptions& options);

struct TSearchResult {
  bool Cancelled = false;
  std::unique_ptr<TpunPal> Palette;  // the reduced palette; none when cancelled
};

// The automatic search as every caller runs it: on a copy of `document` made from its
// reference palette (sharing its picture), never touching the document. Reports to
// `progress` (the copy's palette too) and polls `cancel`; may run on any thread while
// nobody changes the document. Apply the result with ApplySearchResult.
TSearchResult RunColorSearch(const TpunCompo& document, const TSearchOptions& options,
                             const ProgressHandler& progress, const std::atomic<bool>& cancel);
