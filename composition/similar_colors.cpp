#include "composition/similar_colors.h"

#include <algorithm>
#include <cstdlib>

#include "composition/composition.h"

SimilarColors::SimilarColors(std::vector<TColor> colors, uint32_t tolerance)
    : colors_(std::move(colors)),
      tolerance_(int(std::min<uint32_t>(tolerance, 255))),
      side_(tolerance_ + 1),
      cubes_(255 / side_ + 1) {
  for (size_t i = 0; i < colors_.size(); ++i) {
    const TColor c = colors_[i];
    if (RedOf(c) == 0 || GreenOf(c) == 0 || BlueOf(c) == 0) {
      colors_[i] = kNever;
      continue;
    }
    sorted_.emplace_back(CubeKey(RedOf(c) / side_, GreenOf(c) / side_, BlueOf(c) / side_),
                         int32_t(i));
  }
  std::sort(sorted_.begin(), sorted_.end());
}

uint32_t SimilarColors::CubeKey(int red, int green, int blue) const {
  return (uint32_t(red) * uint32_t(cubes_) + uint32_t(green)) * uint32_t(cubes_) + uint32_t(blue);
}

void SimilarColors::Partners(int32_t i, const std::vector<char>& merged,
                             std::vector<int32_t>& out) const {
  const TColor c = colors_[size_t(i)];
  if (c == kNever) return;
  const int red = RedOf(c), green = GreenOf(c), blue = BlueOf(c);
  const size_t first = out.size();
  const auto near = [&](int a, int b) { return std::abs(a - b) <= tolerance_; };
  const int cr = red / side_, cg = green / side_, cb = blue / side_;
  for (int r = std::max(cr - 1, 0); r <= std::min(cr + 1, cubes_ - 1); ++r)
    for (int g = std::max(cg - 1, 0); g <= std::min(cg + 1, cubes_ - 1); ++g)
      for (int b = std::max(cb - 1, 0); b <= std::min(cb + 1, cubes_ - 1); ++b) {
        const uint32_t key = CubeKey(r, g, b);
        auto at = std::lower_bound(sorted_.begin(), sorted_.end(), std::make_pair(key, i + 1));
        for (; at != sorted_.end() && at->first == key; ++at) {
          const int32_t j = at->second;
          const TColor d = colors_[size_t(j)];
          if (!merged[size_t(j)] && near(RedOf(d), red) && near(GreenOf(d), green) &&
              near(BlueOf(d), blue))
            out.push_back(j);
        }
      }
  std::sort(out.begin() + std::ptrdiff_t(first), out.end());
}

namespace {

// Reports "(p%)-(remaining) Removing similar colors" after every pair, leaving out a report
// equal to the one before it, and builds no text when nobody listens.
class PairReports {
 public:
  explicit PairReports(const ProgressHandler& progress) : progress_(progress) {}
  void operator()(uint16_t percent, uint32_t remaining) {
    if (!progress_ || (shown_ && percent == percent_ && remaining == remaining_)) return;
    shown_ = true;
    percent_ = percent;
    remaining_ = remaining;
    // One report per merge on a large palette: the text's buffer is kept, not remade.
    text_.assign("(");
    text_.append(std::to_string(percent)).append("%)-(");
    text_.append(std::to_string(remaining)).append(") Removing similar colors");
    progress_(text_, percent);
  }

 private:
  const ProgressHandler& progress_;
  bool shown_ = false;
  uint16_t percent_ = 0;
  uint32_t remaining_ = 0;
  std::string text_;
};

}  // namespace

void TpunCompo::RemoveSimilarColors(uint16_t tolerance) {
  cancel_requested_ = false;
  RemoveSimilarColors(tolerance, on_progress_, cancel_requested_);
}

void TpunCompo::RemoveSimilarColors(uint16_t tolerance, const ProgressHandler& progress,
                                    const std::atomic<bool>& cancel) {
  const auto status = [&](const std::string& text, uint16_t percent) {
    if (progress) progress(text, percent);
  };
  status("Searching...", 0);
  const int32_t n = palette_.Count();
  const auto& entries = palette_.Colors.Entries();
  std::vector<TColor> colors;
  colors.reserve(entries.size());
  for (const auto& entry : entries) colors.push_back(entry.color);
  const SimilarColors similar(std::move(colors), tolerance);

  // Merges only mark entries; the palette changes at the clean-up, so a cancel leaves it
  // exactly as it was.
  std::vector<char> merged(size_t(n), 0);
  uint32_t remaining = uint32_t(n);
  PairReports report(progress);
  std::vector<int32_t> partners;
  const auto cancelled = [&] {
    if (!cancel) return false;
    status("", 0);
    return true;
  };
  // Every pair (i, j) reports once; between two merges of one i the report repeats, so the
  // round goes from merge to merge. The flag is polled wherever a pair follows a report.
  for (int32_t i = 0; i + 1 < n; ++i) {
    if (cancelled()) return;
    partners.clear();
    if (!merged[size_t(i)]) similar.Partners(i, merged, partners);
    const uint16_t percent = StepPercent(i, n);
    size_t k = 0;
    if (!partners.empty() && partners[0] == i + 1) {
      merged[size_t(i + 1)] = 1;
      --remaining;
      k = 1;
    }
    report(percent, remaining);
    for (; k < partners.size(); ++k) {
      if (cancelled()) return;
      merged[size_t(partners[k])] = 1;
      --remaining;
      report(percent, remaining);
    }
  }

  status("Cleaning up...", 0);
  TpunPal kept;
  kept.Colors.Reserve(remaining);
  for (size_t i = 0; i < entries.size(); ++i)
    if (!merged[i]) kept.AddClr(entries[i].color, entries[i].name);
  palette_.Assign(kept);
  modified_ = true;
  status("", 0);
}
