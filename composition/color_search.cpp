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
  SearchUsedColors(true);
}

void TpunCompo::SearchUsedColors(bool clear_cancel) {
  if (clear_cancel) CancelRequested = false;
  const int32_t count = Palette.Count();
  const auto& entries = Palette.Colors.Entries();
  const uint32_t width = Width;
  const uint32_t height = SourcePicture ? Height : 0;
  // Where each thread first met each entry; the earliest over the threads gives the order
  // in which a scan from the top row, left to right, meets the entries.
  constexpr uint64_t kNever = UINT64_MAX;
  std::vector<std::vector<uint64_t>> first;
  try {
    // Checked before the first band is mapped, so a search cancelled earlier costs nothing.
    if (height > 0 && CancelRequested) throw PassCancelled{};
    if (count > 0 && height > 0) {
      first.assign(MaxParallelParts(), std::vector<uint64_t>(size_t(count), kNever));
      MapRowsInParallel(
          *SourcePicture, width, height, Palette,
          [&](size_t part, uint32_t y, const int32_t* indices) {
            std::vector<uint64_t>& mine = first[part];
            for (uint32_t x = 0; x < width; ++x) {
              uint64_t& at = mine[size_t(indices[x])];
              if (at == kNever) at = uint64_t(y) * width + x;
            }
          },
          [&](uint32_t y) {
            if (CancelRequested) throw PassCancelled{};
            // Every pixel of a row would report the same text: a listener needs it once.
            const uint16_t percent = StepPercent(y, height);
            if (OnProgress) OnProgress(PercentText(percent, " Searching used colors"), percent);
          });
    }
  } catch (const PassCancelled&) {
    Progress("", 0);
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
  Palette.Assign(used);
  Modified = true;
  Progress("", 0);
}

std::vector<std::string> TpunCompo::DotHistogram() {
  const DotCounts counts = CountDots(*this, Palette);
  Progress("", 0);
  return HistogramLines(Palette, counts);
}

void TpunCompo::RemoveUniqueEntries(uint8_t light_threshold, uint8_t dots) {
  const std::vector<std::string> lines = DotHistogram();
  // The count follows a blank and is followed by " Dot(s)": this finds exactly that count.
  const std::string mark = " " + std::to_string(dots) + " Dot";
  const std::vector<ColorEntry>& entries = Palette.Colors.Entries();
  FirstOfName names(entries);
  std::vector<char> deleted(entries.size(), 0);
  size_t live = entries.size();
  const size_t total = lines.size();
  for (size_t k = 0; k < total; ++k) {
    if (lines[k].find(mark) != std::string::npos) {
      if (CancelRequested) break;
      const int32_t index = names.Find(HistogramLineName(lines[k]));
      if (index >= 0 && LightLevel(entries[size_t(index)].color) <= light_threshold) {
        names.DeleteFound();
        deleted[size_t(index)] = 1;
        --live;
      }
    }
    if (OnProgress) {
      const uint16_t percent = StepPercent(int64_t(k), int64_t(total));
      Progress(
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
    Palette.Assign(kept);
  }
  Progress("", 0);
}

struct ColorSearchRun {
  static bool Run(TpunCompo& work, const TSearchOptions& options) {
    const auto cancelled = [&] { return work.CancelRequested.load(); };
    work.CancelRequested = false;
    if (!options.KeepOriginalPalette) work.ResetPalette();
    work.SearchUsedColors(false);
    if (cancelled()) return false;
    if (options.RemoveLonely) work.RemoveUniqueEntries(options.LightThreshold, options.Dots);
    if (cancelled()) return false;
    work.Palette.Sort();
    // Past tolerance 254 every entry that can merge has merged, and a second round at the
    // same tolerance merges nothing: the rounds stop there instead of running forever.
    for (uint32_t tolerance = options.Increment; work.Palette.Count() > options.MaxFloss;
         tolerance += options.Increment) {
      work.RemoveSimilarColors(uint16_t(tolerance), false);
      if (cancelled()) return false;
      if (tolerance >= 255 || options.Increment == 0) break;
    }
    work.Palette.Sort();
    return !cancelled();
  }
};

bool AutomaticColorSearch(TpunCompo& work, const TSearchOptions& options) {
  return ColorSearchRun::Run(work, options);
}
