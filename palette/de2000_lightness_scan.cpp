#include "palette/de2000_lightness_scan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <tuple>
#include <unordered_map>

// Why the scan is exact. With x = dC'/S_C, y = dH'/S_H and R_T the rotation term,
// DeltaE2000^2 = (dL/S_L)^2 + x^2 + y^2 + R_T x y, and a lookup only measures an entry when
// two lower bounds of that sum, the second finer and dearer, both leave it within reach.
// |R_T| <= R_C sin 60 degrees < 2, and next to nothing when both colors have b >= 0. dC'^2 + dH'^2
// is the squared distance in the (a', b) plane, a' = (1 + G) a, G between 0 and 1/2; T, and with it
// S_H = 1 + 0.015 C' T, stays between the extremes of T over all hues, 0.36205... and 1.57247...
// - First, from the Lab values and s = C1 + C2 alone: |x y| <= (x^2 + y^2) / 2 and
//   S_H <= S_C, so the last three terms are at least (1 - |R_T| / 2) (dC'^2 + dH'^2) / S_C^2,
//   and the squared distance is (1 + G)^2 da^2 + db^2. G falls as s grows and
//   C'1 + C'2 <= (1 + G) s, so over a range of s, G at its top end, and (1 + G) at its
//   bottom end times s at its top end, bound G from below and S_C and R_C (which grow with
//   C') from above: a table per range gives the factors of da^2 and db^2.
// - Then, with G, C'1 and C'2 (no hue angle): x is known, |dH'| is the square root of the
//   squared distance less dC'^2, S_H and R_T lie within their bounds, and the least of
//   x^2 + y^2 - |R_T| |x| |y| over that range of |y| is where the parabola is lowest.
// - A group: the first bound at the nearest point of the group's box, with S_L at most 1.75
//   and the factors of the largest s in it (a range's factors hold for every smaller s too,
//   since (1 + G) s never falls as s grows).
// - A side of the lightness scan: (dL / S_L)^2 only grows as an entry lies farther in
//   lightness, because S_L's slope in the mean lightness stays below 0.0164, so
//   |dL| / 2 * slope < 1 <= S_L; the first entry it puts beyond reach ends the side.
// An entry either bound puts beyond the best distance (with a margin far above the rounding
// of either computation) is strictly farther and cannot even tie.

namespace {

constexpr double k25To7 = 6103515625.0;  // 25^7
// Each a little beyond the true value, on the side that keeps the bounds low.
constexpr double kSin60 = 0.8660255;
// |sin 2 dTheta| when both colors have b >= 0: their mean hue is then within 0 to 180
// degrees, at least 95 from 275, so dTheta <= 30 exp(-(95 / 25)^2) = 1.61e-5 degrees.
constexpr double kSinWarmRotation = 6e-7;
constexpr double kLeastT = 0.362, kMostT = 1.5725;

// A bound must exceed the best distance by this much to rule an entry out.
double Reach(double best) {
  return best * (1 + 1e-6) + 1e-5;
}

double LightnessWeight(double l1, double l2) {
  const double mean = (l1 + l2) / 2 - 50;
  return 1 + 0.015 * mean * mean / std::sqrt(20 + mean * mean);
}

double Pow7(double x) {
  const double x2 = x * x, x3 = x2 * x;
  return x3 * x3 * x;
}

// 1 + G for a mean chroma (unprimed) and R_C for a mean primed chroma.
double Widening(double mean_chroma) {
  const double mean7 = Pow7(mean_chroma);
  return 1.5 - 0.5 * std::sqrt(mean7 / (mean7 + k25To7));
}
double RotationChroma(double mean_primed) {
  const double mean7 = Pow7(mean_primed);
  return 2 * std::sqrt(mean7 / (mean7 + k25To7));
}

// Per range [i, i + 1) of C1 + C2: the factors of da^2 and db^2 in the first bound, for
// any two colors and for two with b >= 0 (warm: no rotation term to speak of).
struct ChromaFactors {
  double a, b, warm_a, warm_b;
};
constexpr size_t kChromaRanges = 512;  // sRGB colors stay below 300
const std::array<ChromaFactors, kChromaRanges>& FirstBoundFactors() {
  static const std::array<ChromaFactors, kChromaRanges> table = [] {
    std::array<ChromaFactors, kChromaRanges> factors{};
    for (size_t i = 0; i < kChromaRanges; ++i) {
      const double low = double(i), high = double(i + 1);
      const double least_widening = Widening(high / 2);
      const double most_mean_primed = Widening(low / 2) * high / 2;
      const double rotation = RotationChroma(most_mean_primed);
      const double sc = 1 + 0.045 * most_mean_primed;
      // Rounded down by a part in a million: the factors are products of rounded values.
      const double b = (1 - rotation * kSin60 / 2) / (sc * sc) * (1 - 1e-6);
      const double warm_b = (1 - rotation * kSinWarmRotation / 2) / (sc * sc) * (1 - 1e-6);
      const double widening2 = least_widening * least_widening;
      factors[i] = {b * widening2, b, warm_b * widening2, warm_b};
    }
    return factors;
  }();
  return table;
}

// The least the chroma, hue and rotation terms can add up to, from G and the primed chromas.
double ChromaHueFloor(const LabColor& x, double chroma_x, const LabColor& y, double chroma_y) {
  const double widen = Widening((chroma_x + chroma_y) / 2);  // 1 + G
  const double ax = widen * x.a, ay = widen * y.a;
  const double cx = std::sqrt(ax * ax + x.b * x.b), cy = std::sqrt(ay * ay + y.b * y.b);
  const double da = ay - ax, db = y.b - x.b, dc = cy - cx;
  const double hue = std::sqrt(std::max(0.0, da * da + db * db - dc * dc));  // |dH'|
  const double mean = (cx + cy) / 2;
  const double rotation = RotationChroma(mean) * (x.b >= 0 && y.b >= 0 ? kSinWarmRotation : kSin60);
  const double tc = std::fabs(dc) / (1 + 0.045 * mean);
  const double least_th = hue / (1 + 0.015 * mean * kMostT);
  const double most_th = hue / (1 + 0.015 * mean * kLeastT);
  const double th = std::clamp(rotation * tc / 2, least_th, most_th);
  return tc * tc + th * th - rotation * tc * th;
}

}  // namespace

namespace {
// Entries are grouped by squares of this side in the (a, b) plane.
constexpr double kGroupSide = 24;
int GroupCell(double v) {
  return int(std::floor(v / kGroupSide));
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
  // By square, then lightness, then index.
  const auto key = [&](int32_t i) {
    const LabColor& c = lab[size_t(i)];
    return std::make_tuple(GroupCell(c.a), GroupCell(c.b), c.L, i);
  };
  std::sort(kept.begin(), kept.end(), [&](int32_t x, int32_t y) { return key(x) < key(y); });
  for (size_t p = 0; p < kept.size(); ++p) {
    const LabColor& c = lab[size_t(kept[p])];
    if (p == 0 || GroupCell(c.a) != GroupCell(a_.back()) || GroupCell(c.b) != GroupCell(b_.back()))
      groups_.push_back({p, p, c.a, c.a, c.b, c.b, 0});
    Group& group = groups_.back();
    group.end = p + 1;
    group.least_a = std::min(group.least_a, c.a);
    group.most_a = std::max(group.most_a, c.a);
    group.least_b = std::min(group.least_b, c.b);
    group.most_b = std::max(group.most_b, c.b);
    lightness_.push_back(c.L);
    a_.push_back(c.a);
    b_.push_back(c.b);
    chroma_.push_back(std::sqrt(c.a * c.a + c.b * c.b));
    group.most_chroma = std::max(group.most_chroma, chroma_.back());
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
  const auto& first = FirstBoundFactors();
  double best = std::numeric_limits<double>::infinity();
  size_t best_at = n;
  // (dL / S_L)^2, which grows with the distance in lightness on either side of the color.
  const auto lightness_term = [&](size_t p) {
    const double dl = lightness_[p] - color.L, sl = LightnessWeight(lightness_[p], color.L);
    return dl * dl / (sl * sl);
  };
  const auto consider = [&](size_t p, double lightness) {
    const double da = a_[p] - color.a, db = b_[p] - color.b;
    const double reach = Reach(best);
    const size_t range = size_t(chroma_[p] + chroma);
    if (range < kChromaRanges) {
      const ChromaFactors& f = first[range];
      const bool warm = color.b >= 0 && b_[p] >= 0;
      if (lightness + (warm ? f.warm_a : f.a) * da * da + (warm ? f.warm_b : f.b) * db * db >
          reach * reach)
        return;
    }
    const LabColor entry{lightness_[p], a_[p], b_[p]};
    if (lightness + ChromaHueFloor(color, chroma, entry, chroma_[p]) > reach * reach) return;
    const double d = DeltaE2000(color, entry);
    if (d < best || (d == best && index_[p] < index_[best_at])) {
      best = d;
      best_at = p;
    }
  };
  const size_t hinted = hint >= 0 && size_t(hint) < n ? size_t(hint) : n;
  if (hinted < n) consider(hinted, lightness_term(hinted));

  // A group's floor, as the note at the top says.
  const auto group_floor = [&](const Group& group) {
    const size_t range = size_t(group.most_chroma + chroma);
    if (range >= kChromaRanges) return 0.0;  // no color of the cube comes near
    const double da = std::max({0.0, group.least_a - color.a, color.a - group.most_a});
    const double db = std::max({0.0, group.least_b - color.b, color.b - group.most_b});
    const double dl =
        std::max({0.0, lightness_[group.begin] - color.L, color.L - lightness_[group.end - 1]}) /
        kMaxLightnessWeight;
    const ChromaFactors& f = first[range];
    const bool warm = color.b >= 0 && group.least_b >= 0;
    return dl * dl + (warm ? f.warm_a : f.a) * da * da + (warm ? f.warm_b : f.b) * db * db;
  };
  // Outward in lightness on both sides within a group, the side whose next entry is nearer
  // first; a side is done once its next entry's lightness alone puts it beyond reach.
  const auto scan = [&](const Group& group) {
    const auto begin = lightness_.begin() + ptrdiff_t(group.begin);
    size_t up = size_t(std::lower_bound(begin, lightness_.begin() + ptrdiff_t(group.end), color.L) -
                       lightness_.begin());
    size_t down = up;  // the next one down is down - 1
    double up_term = up < group.end ? lightness_term(up) : 0;
    double down_term = down > group.begin ? lightness_term(down - 1) : 0;
    for (;;) {
      const double reach = Reach(best);
      const bool can_up = up < group.end && up_term <= reach * reach;
      const bool can_down = down > group.begin && down_term <= reach * reach;
      if (!can_up && !can_down) break;
      size_t p;
      double term;
      if (can_up && (!can_down || up_term <= down_term)) {
        p = up++;
        term = up_term;
        up_term = up < group.end ? lightness_term(up) : 0;
      } else {
        p = --down;
        term = down_term;
        down_term = down > group.begin ? lightness_term(down - 1) : 0;
      }
      if (p != hinted) consider(p, term);
    }
  };
  // The group with the least floor first, for a good best distance early; then the others,
  // each only while its floor is within reach.
  thread_local std::vector<double> floors;
  floors.resize(groups_.size());
  size_t closest = 0;
  for (size_t g = 0; g < groups_.size(); ++g) {
    floors[g] = group_floor(groups_[g]);
    if (floors[g] < floors[closest]) closest = g;
  }
  scan(groups_[closest]);
  for (size_t g = 0; g < groups_.size(); ++g) {
    const double reach = Reach(best);
    if (g != closest && floors[g] <= reach * reach) scan(groups_[g]);
  }
  hint = int32_t(best_at);
  return index_[best_at];
}

size_t De2000LightnessScan::MemoryBytes() const {
  return sizeof(*this) + 4 * lightness_.capacity() * sizeof(double) +
         (index_.capacity() + position_of_.capacity()) * sizeof(int32_t);
}
