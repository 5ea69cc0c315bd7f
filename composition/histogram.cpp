#include "composition/histogram.h"

#include "base/parallel.h"
#include "composition/composition.h"
#include "composition/pixel_mapping.h"

DotCounts CountDots(const TpunCompo& compo, const TpunPal& palette,
                    const ProgressHandler& progress) {
  DotCounts counts(size_t(palette.Count()), 0);
  if (counts.empty() || !compo.HasPicture()) return counts;
  const uint32_t width = compo.Width();
  const uint32_t height = compo.Height();
  static const std::string kText = "Creating image histogram...";
  // Per thread, four sets of counters taken in turn: neighbouring pixels mostly share an
  // entry, and adding to one counter again and again waits each time for the addition
  // before it.
  constexpr size_t kLanes = 4;
  const size_t n = counts.size();
  std::vector<DotCounts> parts(MaxParallelParts(), DotCounts(kLanes * n, 0));
  MapRowsInParallel(
      compo.SourcePicture().Block(), width, height, palette,
      [&](size_t part, uint32_t, const int32_t* indices) {
        uint64_t* const lanes = parts[part].data();
        uint32_t x = 0;
        for (; x + kLanes <= width; x += kLanes) {
          ++lanes[size_t(indices[x])];
          ++lanes[n + size_t(indices[x + 1])];
          ++lanes[2 * n + size_t(indices[x + 2])];
          ++lanes[3 * n + size_t(indices[x + 3])];
        }
        for (; x < width; ++x) ++lanes[size_t(indices[x])];
      },
      [&](uint32_t y) {
        if (progress) progress(kText, HistogramPercent(width, height, y));
      });
  for (const DotCounts& part : parts)
    for (size_t k = 0; k < kLanes * n; ++k) counts[k % n] += part[k];
  return counts;
}

uint16_t HistogramPercent(uint32_t width, uint32_t height, uint32_t y) {
  if (width == 0 || height == 0) return 0;
  return uint16_t((uint64_t(width) + 1) * (uint64_t(y) + 1) * 100 / (uint64_t(width) * height));
}

std::string LeftPadded(std::string_view text, size_t width) {
  std::string padded;
  if (text.size() < width) padded.assign(width - text.size(), ' ');
  padded += text;
  return padded;
}

std::string HistogramLine(std::string_view name, uint64_t dots) {
  return LeftPadded(name, 10) + " -> " + LeftPadded(std::to_string(dots), 6) + " Dot(s)";
}

std::vector<std::string> HistogramLines(const TpunPal& palette, const DotCounts& counts) {
  std::vector<std::string> lines;
  lines.reserve(counts.size());
  const auto& entries = palette.Colors.Entries();
  for (size_t k = 0; k < counts.size(); ++k)
    lines.push_back(HistogramLine(entries[k].name, counts[k]));
  return lines;
}

std::string HistogramLineName(std::string_view line) {
  const size_t begin = line.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  const size_t end = line.find(' ', begin);
  return std::string(line.substr(begin, end == std::string_view::npos ? end : end - begin));
}
