#include "pattern/report_lines.h"

#include <cstddef>
#include <unordered_map>
#include <utility>

#include "composition/composition.h"
#include "composition/histogram.h"

namespace {

// One skein holds 4800 cm, that is 480000 hundredths.
constexpr uint64_t kSkeinHundredths = 480000;

std::string Cut(std::string line) {
  if (line.size() > kReportLineLength) line.resize(kReportLineLength);
  return line;
}

// Where the pixels of one palette entry count: up to two threads of the list, -1 for none.
struct EntryThreads {
  int64_t first = -1;
  int64_t second = -1;  // only for a blend
  uint64_t weight = 2;  // per pixel and thread: 2 for a plain color, 1 for a blend
};

std::vector<EntryThreads> ThreadsOfEntries(const TpunPal& palette,
                                           const std::vector<std::string>& threads) {
  std::unordered_map<std::string, int64_t> first_index;
  for (size_t t = threads.size(); t-- > 0;) first_index[threads[t]] = int64_t(t);
  const auto find = [&](const std::string& name) {
    auto it = first_index.find(name);
    return it == first_index.end() ? int64_t(-1) : it->second;
  };
  std::vector<EntryThreads> result;
  for (const ColorEntry& entry : palette.Colors.Entries()) {
    EntryThreads e;
    std::string first, second;
    if (!SplitBlend(entry.name, first, second)) {
      e.first = find(entry.name);
    } else {
      e.first = find(first);
      e.second = find(second);
      e.weight = 1;
    }
    result.push_back(e);
  }
  return result;
}

}  // namespace

uint32_t ThreadLengthFactor(uint8_t cotton_size) {
  switch (cotton_size) {
    case 0:
      return 23;
    case 1:
      return 18;
    case 2:
      return 15;
    case 3:
      return 13;
    default:
      return 0;
  }
}

ThreadNeed NeedOfThread(uint64_t uses, uint32_t factor) {
  // L = uses * 0.01 * F * 2 cm is uses * F * 2 hundredths exactly; the skeins are the
  // fewest that hold it, which rounding L / 4800 and adding one when short comes to.
  const uint64_t hundredths = uses * factor * 2;
  return {hundredths, (hundredths + kSkeinHundredths - 1) / kSkeinHundredths};
}

std::vector<uint64_t> ThreadUses(const TpunPal& palette, const std::vector<std::string>& threads,
                                 const std::vector<uint64_t>& dots) {
  const std::vector<EntryThreads> targets = ThreadsOfEntries(palette, threads);
  std::vector<uint64_t> counts(threads.size(), 0);
  for (size_t k = 0; k < dots.size() && k < targets.size(); ++k) {
    const EntryThreads& e = targets[k];
    if (e.first >= 0) counts[size_t(e.first)] += e.weight * dots[k];
    if (e.second >= 0) counts[size_t(e.second)] += e.weight * dots[k];
  }
  return counts;
}

std::string FlossLine(const std::string& thread, uint64_t count, uint8_t cotton_size) {
  const ThreadNeed need = NeedOfThread(count, ThreadLengthFactor(cotton_size));
  const uint64_t cents = need.hundredths % 100;
  const std::string length =
      std::to_string(need.hundredths / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
  return Cut(HistogramLine(thread, count) + ",  " + std::to_string(need.skeins) + " Coil(s) (" +
             LeftPadded(length, 5) + " cm)");
}

std::vector<std::string> FlossReportLines(const TpunCompo& compo,
                                          const std::vector<std::string>& threads) {
  return FlossReportLines(compo, threads, compo.OnProgress());
}

std::vector<std::string> FlossReportLines(const TpunCompo& compo,
                                          const std::vector<std::string>& threads,
                                          const ProgressHandler& progress) {
  const auto report = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  const DotCounts dots = CountDots(compo, compo.Palette(), progress);
  const std::vector<uint64_t> counts = ThreadUses(compo.Palette(), threads, dots);
  static const std::string kLengths = "Calculating lengths...";
  report(kLengths, 0);
  std::vector<std::string> lines;
  lines.reserve(threads.size());
  for (size_t t = 0; t < threads.size(); ++t) {
    lines.push_back(FlossLine(threads[t], counts[t], compo.CottonSize()));
    report(kLengths, StepPercent(int64_t(t), int64_t(threads.size())));
  }
  report("", 0);
  return lines;
}

std::vector<std::string> ColorUsageLines(const TpunCompo& compo, const TpunPal& palette) {
  return ColorUsageLines(compo, palette, compo.OnProgress());
}

std::vector<std::string> ColorUsageLines(const TpunCompo& compo, const TpunPal& palette,
                                         const ProgressHandler& progress) {
  if (palette.Count() == 0) return {};
  const DotCounts dots = CountDots(compo, palette, progress);
  if (progress) progress("", 0);
  std::vector<std::string> lines = HistogramLines(palette, dots);
  for (std::string& line : lines) line = Cut(line);
  return lines;
}

std::vector<UsageLine> ColorUsageReport(const TpunCompo& compo, const TpunPal& palette,
                                        const ProgressHandler& progress) {
  std::vector<std::string> texts = ColorUsageLines(compo, palette, progress);
  std::vector<UsageLine> lines;
  lines.reserve(texts.size());
  for (size_t k = 0; k < texts.size(); ++k) lines.push_back({std::move(texts[k]), int32_t(k)});
  return lines;
}

bool MayRemoveColor(const TpunPal& palette) {
  return palette.Count() > 1;
}

bool RemoveUsageColor(TpunPal& palette, std::vector<UsageLine>& lines, size_t row) {
  if (row >= lines.size() || !MayRemoveColor(palette)) return false;
  const int32_t removed = lines[row].index;
  if (removed < 0 || removed >= palette.Count()) return false;
  palette.Delete(removed);
  lines.erase(lines.begin() + std::ptrdiff_t(row));
  for (UsageLine& line : lines)
    if (line.index > removed) --line.index;
  return true;
}
