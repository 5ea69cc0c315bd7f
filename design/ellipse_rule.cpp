#include "design/ellipse_rule.h"

#include <algorithm>
#include <cmath>

#include "design/design_rules.h"
#include "design/shape_box.h"

namespace {

// Coordinates are doubled about the box's centre so every cell centre is an integer:
// X = 2x - (width - 1), semi-axes A = width - 1 and B = height - 1. Boxes up to 2^32 cells
// wide (any two ints) make the ellipse's terms reach 2^130, hence the 256-bit products.
using U128 = unsigned __int128;

struct U256 {
  U128 high, low;
};

U256 Multiply(U128 a, U128 b) {
  const U128 mask = (U128(1) << 64) - 1;
  const U128 a0 = a & mask, a1 = a >> 64, b0 = b & mask, b1 = b >> 64;
  const U128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const U128 middle = (p00 >> 64) + (p01 & mask) + (p10 & mask);
  return {p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64), (middle << 64) | (p00 & mask)};
}

bool NotAbove(const U256& x, const U256& y) {
  return x.high < y.high || (x.high == y.high && x.low <= y.low);
}

// The largest k in [0, a] with k^2 b^2 <= a^2 q, that is floor(a * sqrt(q) / b), for b > 0
// and q <= b^2: an estimate in floating point made exact by the integer test.
long long ScaledRoot(long long a, long long b, U128 q) {
  const U256 limit = Multiply(U128(a) * U128(a), q);
  const auto fits = [&](long long k) {
    const U128 kb = U128(k) * U128(b);
    return NotAbove(Multiply(kb, kb), limit);
  };
  long long k = (long long)std::floor((long double)a * std::sqrt((long double)q) / b);
  k = std::clamp(k, 0LL, a);
  while (k > 0 && !fits(k)) --k;
  while (k < a && fits(k + 1)) ++k;
  return k;
}

}  // namespace

EllipseSpan EllipseRow(long long width, long long height, long long y) {
  if (width <= 0 || height <= 0 || y < 0 || y >= height) return {};
  const long long a = width - 1, b = height - 1;
  const long long Y = 2 * y - b;
  const long long above = Y < 0 ? -Y : Y;
  // The row's own curve point: every cell up to the one holding it.
  long long half = 1 + (b == 0 ? a : ScaledRoot(a, b, U128(b) * b - U128(above) * above));
  // The columns whose curve point lies in this row reach out further where the curve is flat.
  if (above == 0)
    half = a;
  else
    half = std::max(half, ScaledRoot(a, b, U128(b) * b - U128(above - 1) * (above - 1)));
  half = std::min(half, a);
  if ((a - half) % 2 != 0) --half;
  return {(a - half) / 2, (a + half) / 2 + 1};
}

CellRect PaintFilledEllipse(DesignRaster& raster, Cell s, Cell e, TColor colour) {
  const WideBox box = OrderedBox(s, e);
  if (box.Empty()) return {};
  CellRect changed;
  const long long first = std::max<long long>(box.top, 0);
  const long long last = std::min<long long>(box.bottom, raster.Height());
  for (long long row = first; row < last; ++row) {
    const EllipseSpan span = EllipseRow(box.Width(), box.Height(), row - box.top);
    changed =
        changed.United(PaintSpan(raster, row, box.left + span.first, box.left + span.last, colour));
  }
  return changed;
}

CellRect PaintEllipse(DesignRaster& raster, Cell s, Cell e, TColor colour) {
  const WideBox box = OrderedBox(s, e);
  if (box.Empty()) return {};
  const long long w = box.Width(), h = box.Height();
  CellRect changed;
  const long long first = std::max<long long>(box.top, 0);
  const long long last = std::min<long long>(box.bottom, raster.Height());
  for (long long row = first; row < last; ++row) {
    const long long y = row - box.top;
    const EllipseSpan span = EllipseRow(w, h, y);
    // Inside: not at the row's ends, and the rows above and below both hold the column.
    long long inner_first = span.first + 1, inner_last = span.last - 1;
    if (y == 0 || y == h - 1) {
      inner_last = inner_first;
    } else {
      const EllipseSpan up = EllipseRow(w, h, y - 1), down = EllipseRow(w, h, y + 1);
      inner_first = std::max({inner_first, up.first, down.first});
      inner_last = std::min({inner_last, up.last, down.last});
    }
    if (inner_first >= inner_last) {
      changed = changed.United(
          PaintSpan(raster, row, box.left + span.first, box.left + span.last, colour));
      continue;
    }
    changed = changed.United(
        PaintSpan(raster, row, box.left + span.first, box.left + inner_first, colour));
    changed =
        changed.United(PaintSpan(raster, row, box.left + inner_last, box.left + span.last, colour));
  }
  return changed;
}
