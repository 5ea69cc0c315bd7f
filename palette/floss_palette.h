#pragma once
// The floss palette: every color set of the program (main, temporary, and each
// composition's reference and working palettes) is one of these.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/color.h"
#include "base/progress.h"
#include "palette/color_list.h"
#include "palette/color_match.h"
#include "palette/nearest_color_search.h"

// The most entries MixColors may leave in a palette.
inline constexpr int64_t kMostMixedEntries = 1000000;

class TpunPal {
 public:
  TpunPal();
  ~TpunPal();
  TpunPal(const TpunPal&) = delete;
  TpunPal& operator=(const TpunPal&) = delete;

  TColorList Colors;
  bool Modified = false;  // the cached thread count is out of date
  uint16_t CachedThreadCount = 0;
  ProgressHandler OnProgress;

  int32_t Count() const { return Colors.Count(); }
  TColor GetClr(int32_t index) const;
  void PutClr(int32_t index, TColor color);
  std::string GetName(int32_t index) const;
  void AddClr(TColor color, const std::string& name);
  void Delete(int32_t index);
  void Clear();
  void Assign(const TpunPal& source);
  bool IndexOfName(const std::string& name, int32_t& index) const;

  // The entry nearest to `color` under the palette's rule (least squared RGB distance
  // unless SetColorMatch chose another), lowest index on ties, 0 for an empty palette.
  int32_t NearestClr(TColor color) const;
  // NearestClr for many colors at once, on both cores when it pays.
  void NearestClrs(const TColor* colors, size_t count, int32_t* indices) const;
  // The search structure behind NearestClr, for passes that run their own threads;
  // valid until the palette's colors change. The first call after a change rebuilds it,
  // once even when several threads ask at the same time: the window paints from a palette
  // a worker maps with.
  const NearestColorSearch& NearestIndex() const;
  // What NearestIndex makes: the fast index unless a benchmark gives the plain search
  // (LinearColorSearch::Make). Belongs to this palette object, so Assign keeps it.
  void SetNearestSearch(NearestSearchMaker maker);
  // The rule every nearest-color lookup of this palette follows, ExactRgb unless set. Like
  // the search it makes, it belongs to this palette object: Assign keeps it, and a palette
  // made afresh (a copy of a composition, say) starts with ExactRgb until told otherwise.
  // Setting the rule it already has keeps the search and the answers it remembers.
  void SetColorMatch(ColorMatch rule);
  ColorMatch Match() const { return match_; }

  // Brightest first (red + green + blue), by the classic exchange sort.
  void Sort();
  // Appends the half-and-half blend of every pair of plain colors. Raises ETooManyColors,
  // changing nothing, when the result could pass kMostMixedEntries entries.
  void MixColors();
  uint16_t ThreadCount();
  void SetThreadCount(uint16_t count);
  // Appends the distinct thread names to `target`; returns its count.
  int32_t ListThreads(std::vector<std::string>& target);

  // As LoadPaletteFile: raises when the file is missing, unreadable or no palette.
  void LoadFromFile(const std::string& file_name);
  void SaveToFile(const std::string& file_name) const;

 private:
  void Report(const std::string& text, uint16_t percent) const;
  // Report(PercentText(percent, suffix()), percent), the text made only when listened to.
  void ReportStep(uint16_t percent, const std::function<std::string()>& suffix) const;

  NearestSearchMaker make_search_;
  ColorMatch match_ = ColorMatch::ExactRgb;
  mutable std::mutex nearest_mutex_;  // guards the two below
  mutable std::unique_ptr<NearestColorSearch> nearest_;
  mutable uint64_t nearest_revision_ = 0;
};

// "(p%) text" as the palette's progress reports write it.
std::string PercentText(uint16_t percent, const std::string& text);

// "A+B" is the blend of threads A and B, split at the first "+"; false for a plain name.
// Blending, thread lists and the floss report all split names by this one rule.
bool SplitBlend(const std::string& name, std::string& first, std::string& second);
