#include "composition/color_search.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "base/latin1.h"
#include "base/parallel.h"
#include "composition/composition.h"
#include "composition/histogram.h"
#include "composition/pixel_mapping.h"

namespace {

// Thrown out of a picture pass to end it at once when a cancel is found.
struct PassCancelled {};

// IndexOfName as the deletions of RemoveUniqueEntries go on, without a scan per line. The
// lookup always finds, and so deletes, the first live entry of a name: the deleted entries
// of each name are a prefix of its list.
class FirstOfName {
 public:
  explicit FirstOfName(const std::vector<ColorEntry>& entries) {
    for (size_t i = 0; i < entries.size(); ++i)
      groups_[FoldCase(entries[i].name)].ids.push_back(int32_t(i));
  }
  // The first live entry named `name` ignoring case, or -1.
  int32_t Find(const std::string& name) {
    auto it = groups_.find(FoldCase(name));
    if (it == groups_.end() || it->second.first_live == it->second.ids.size()) return -1;
    found_ = &it->second;
    return it->second.ids[it->second.first_live];
  }
  // Deletes the entry the last Find returned.
  void DeleteFound() { ++found_->first_live; }

 private:
  struct Group {
    std::vector<int32_t> ids;
    size_t first_live = 0;
  };
  std::unordered_map<std::string, Group> groups_;
  Group* found_ = nullptr;
};

}  // namespace

void TpunCompo::SearchUsedColors() {
  cancel_requested_ = false;
  SearchUsedColors(on_progress_, cancel_requested_);
}

void TpunCompo::SearchUsedColors(const ProgressHandler& progress, const std::atomic<bool>& cancel) {
  const auto report = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  const int32_t count = palette_.Count();
  const auto& entries = palette_.Colors.Entries();
  const uint32_t width = Width();
  const uint32_t height = Height();
  // Where each thread first met each entry; the earliest over the threads gives the order
  // in which a scan from the top row, left to right, meets the entries.
  constexpr uint64_t kNever = UINT64_MAX;
  std::vector<std::vector<uint64_t>> first;
  try {
    // Checked before the first band is mapped, so a search cancelled earlier costs nothing.
    if (height > 0 && cancel) throw PassCancelled{};
    if (count > 0 && height > 0) {
      first.assign(MaxParallelParts(), std::vector<uint64_t>(size_t(count), kNever));
      MapRowsInParallel(
          source_.Block(), width, height, palette_,
          [&](size_t part, uint32_t y, const int32_t* indices) {
            std::vector<uint64_t>& mine = first[part];
            // No test of the pixel before: on a photograph's noise that branch goes either
            // way, while an entry already met (almost every pixel's) is a branch that
            // always goes the same way.
            for (uint32_t x = 0; x < width; ++x) {
              uint64_t& at = mine[size_t(indices[x])];
              if (at == kNever) at = uint64_t(y) * width + x;
            }
          },
          [&](uint32_t y) {
            if (cancel) throw PassCancelled{};
            // Every pixel of a row would report the same text: a listener needs it once.
            const uint16_t percent = StepPercent(y, height);
            if (progress) progress(PercentText(percent, " Searching used colors"), percent);
          });
    }
  } catch (const PassCancelled&) {
    report("", 0);
    return;
  }
  std::vector<std::pair<uint64_t, int32_t>> met;
  for (int32_t i = 0; i < count; ++i) {
    uint64_t earliest = kNever;
    for (const auto& part : first) earliest = std::min(earliest, part[size_t(i)]);
    if (earliest != kNever) met.emplace_back(earliest, i);
  }
  std::sort(met.begin(), met.end());
  TpunPal used;
  for (const auto& [position, i] : met)
    used.AddClr(entries[size_t(i)].color, entries[size_t(i)].name);
  palette_.Assign(used);
  modified_ = true;
  report("", 0);
}

std::vector<std::string> TpunCompo::DotHistogram() const {
  return DotHistogram(on_progress_);
}

std::vector<std::string> TpunCompo::DotHistogram(const ProgressHandler& progress) const {
  const DotCounts counts = CountDots(*this, palette_, progress);
  if (progress) progress("", 0);
  return HistogramLines(palette_, counts);
}

void TpunCompo::RemoveUniqueEntries(uint8_t light_threshold, uint8_t dots) {
  RemoveUniqueEntries(light_threshold, dots, on_progress_, cancel_requested_);
}

void TpunCompo::RemoveUniqueEntries(uint8_t light_threshold, uint8_t dots,
                                    const ProgressHandler& progress,
                                    const std::atomic<bool>& cancel) {
  const std::vector<std::string> lines = DotHistogram(progress);
  // The count follows a blank and is followed by " Dot(s)": this finds exactly that count.
  const std::string mark = " " + std::to_string(dots) + " Dot";
  const std::vector<ColorEntry>& entries = palette_.Colors.Entries();
  FirstOfName names(entries);
  std::vector<char> deleted(entries.size(), 0);
  size_t live = entries.size();
  const size_t total = lines.size();
  for (size_t k = 0; k < total; ++k) {
    if (lines[k].find(mark) != std::string::npos) {
      if (cancel) break;
      const int32_t index = names.Find(HistogramLineName(lines[k]));
      if (index >= 0 && LightLevel(entries[size_t(index)].color) <= light_threshold) {
        names.DeleteFound();
        deleted[size_t(index)] = 1;
        --live;
      }
    }
    if (progress) {
      const uint16_t percent = StepPercent(int64_t(k), int64_t(total));
      progress(
          std::to_string(percent) + "%-(" + std::to_string(live) + ")-" + "Removing unique entries",
          percent);
    }
  }
  // The deletions take effect together; entries deleted before a cancel stay deleted.
  if (live < entries.size()) {
    TpunPal kept;
    kept.Colors.Reserve(live);
    for (size_t i = 0; i < entries.size(); ++i)
      if (!deleted[i]) kept.AddClr(entries[i].color, entries[i].name);
    palette_.Assign(kept);
  }
  if (progress) progress("", 0);
}

bool AutomaticColorSearch(TpunCompo& work, const TSearchOptions& options) {
  work.SetCancelRequested(false);
  return AutomaticColorSearch(work, options, work.OnProgress(), work.CancelFlag());
}

bool AutomaticColorSearch(TpunCompo& work, const TSearchOptions& options,
                          const ProgressHandler& progress, const std::atomic<bool>& cancel) {
  if (!options.KeepOriginalPalette) work.ResetPalette();
  work.SearchUsedColors(progress, cancel);
  if (cancel) return false;
  if (options.RemoveLonely)
    work.RemoveUniqueEntries(options.LightThreshold, options.Dots, progress, cancel);
  if (cancel) return false;
  work.Palette().Sort();
  // Past tolerance 254 every entry that can merge has merged, and a second round at the
  // same tolerance merges nothing: the rounds stop there instead of running forever.
  for (uint32_t tolerance = options.Increment; work.Palette().Count() > options.MaxFloss;
       tolerance += options.Increment) {
    work.RemoveSimilarColors(uint16_t(tolerance), progress, cancel);
    if (cancel) return false;
    if (tolerance >= 255 || options.Increment == 0) break;
  }
  work.Palette().Sort();
  return !cancel;
}

TSearchResult RunColorSearch(const TpunCompo& document, const TSearchOptions& options,
                             const ProgressHandler& progress, const std::atomic<bool>& cancel) {
  // The copy starts from the document's reference palette and shares its picture; only
  // the palette it ends with leaves it.
  TpunCompo work(&document.RefPalette());
  work.Assign(document);
  work.Palette().OnProgress = progress;
  TSearchResult result;
  result.Cancelled = !AutomaticColorSearch(work, options, progress, cancel);
  work.Palette().OnProgress = nullptr;
  if (!result.Cancelled) {
    result.Palette = std::make_unique<TpunPal>();
    result.Palette->Assign(work.Palette());
  }
  return result;
}
