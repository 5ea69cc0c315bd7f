#include "palette/de2000_lightness_scan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>

// Why the scan is exact. With x = dC'/S_C, y = dH'/S_H and R_T the rotation term,
// DeltaE2000^2 = (dL/S_L)^2 + x^2 + y^2 + R_T x y. |R_T| <= 2 sin 60 degrees, and
// |x y| <= (x^2 + y^2) / 2, so the last three terms are at least (1 - sin 60) (x^2 + y^2).
// S_H <= S_C (T stays below 3), so x^2 + y^2 >= (dC'^2 + dH'^2) / S_C^2, and
// dC'^2 + dH'^2 is the squared distance in the (a', b) plane, a' = (1 + G) a with G >= 0:
// at least da^2 + db^2. G <= 1/2 gives C' <= 1.5 C, so S_C <= 1 + 0.03375 (C1 + C2). Both
// bounds only leave out terms, so an entry they put beyond the best distance (with a margin
// far above the rounding of either computation) is strictly farther and cannot even tie.

namespace {

// Lower than 1 - sin 60 degrees = 0.13397...
constexpr double kRotationFloor = 0.1339;

// A bound must exceed the best distance by this much to rule an entry out.
double Reach(double best) {
  return best * (1 + 1e-9) + 1e-7;
}

double LightnessWeight(double l1, double l2) {
  const double mean = (l1 + l2) / 2 - 50;
  return 1 + 0.015 * mean * mean / std::sqrt(20 + mean * mean);
}

}  // namespace

De2000LightnessScan::De2000LightnessScan(const std::vector<TColor>& colors)
    : position_of_(colors.size()) {
  std::unordered_map<TColor, int32_t> first_of;
  std::vector<int32_t> kept;
  for (size_t i = 0; i < colors.size(); ++i)
    if (first_of.emplace(colors[i], int32_t(i)).second) kept.push_back(int32_t(i));
  std::vector<LabColor> lab(colors.size());
  for (int32_t i : kept) lab[size_t(i)] = LabOf(colors[size_t(i)]);
  std::stable_sort(kept.begin(), kept.end(),
                   [&](int32_t x, int32_t y) { return lab[size_t(x)].L < lab[size_t(y)].L; });
  for (size_t p = 0; p < kept.size(); ++p) {
    const LabColor& c = lab[size_t(kept[p])];
    lightness_.push_back(c.L);
    a_.push_back(c.a);
    b_.push_back(c.b);
    chroma_.push_back(std::sqrt(c.a * c.a + c.b * c.b));
    index_.push_back(kept[p]);
  }
  std::vector<int32_t> position_of_kept(colors.size());
  for (size_t p = 0; p < kept.size(); ++p) position_of_kept[size_t(kept[p])] = int32_t(p);
  for (size_t i = 0; i < colors.size(); ++i)
    position_of_[i] = position_of_kept[size_t(first_of[colors[i]])];
}

int32_t De2000LightnessScan::Nearest(const LabColor& color, int32_t& hint) const {
  const size_t n = index_.size();
  if (n == 0) return 0;
  const double chroma = std::sqrt(color.a * color.a + color.b * color.b);
  double best = std::numeric_limits<double>::infinity();
  size_t best_at = n;
  const auto consider = [&](size_t p) {
    const double dl = lightness_[p] - color.L, da = a_[p] - color.a, db = b_[p] - color.b;
    const double sl = LightnessWeight(lightness_[p], color.L);
    const double sc = 1 + 0.03375 * (chroma_[p] + chroma);
    const double floor = dl * dl / (sl * sl) + kRotationFloor * (da * da + db * db) / (sc * sc);
    const double reach = Reach(best);
    if (floor > reach * reach) return;
    const double d = DeltaE2000(color, {lightness_[p], a_[p], b_[p]});
    if (d < best || (d == best && index_[p] < index_[best_at])) {
      best = d;
      best_at = p;
    }
  };
  const size_t hinted = hint >= 0 && size_t(hint) < n ? size_t(hint) : n;
  if (hinted < n) consider(hinted);
  size_t up =
      size_t(std::lower_bound(lightness_.begin(), lightness_.end(), color.L) - lightness_.begin());
  size_t down = up;  // the next one down is down - 1
  for (;;) {
    const double reach = Reach(best) * kMaxLightnessWeight;
    const bool can_up = up < n && lightness_[up] - color.L <= reach;
    const bool can_down = down > 0 && color.L - lightness_[down - 1] <= reach;
    if (!can_up && !can_down) break;
    const size_t p =
        can_up && (!can_down || lightness_[up] - color.L <= color.L - lightness_[down - 1])
            ? up++
            : --down;
    if (p != hinted) consider(p);
  }
  hint = int32_t(best_at);
  return index_[best_at];
}

size_t De2000LightnessScan::MemoryBytes() const {
  return sizeof(*this) + 4 * lightness_.capacity() * sizeof(double) +
         (index_.capacity() + position_of_.capacity()) * sizeof(int32_t);
}
