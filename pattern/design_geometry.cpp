#include "pattern/design_geometry.h"

#include <algorithm>

EDesignTooLarge::EDesignTooLarge() : Exception(kDesignTooLarge) {}

bool OverDesignLimit(int64_t width, int64_t height) {
  if (width > kLargestDesignSide || height > kLargestDesignSide) return true;
  return width * height > kLargestDesignPixels;
}

bool ChartGeometry::TooLarge() const {
  return OverDesignLimit(Width(), Height());
}

bool LegendGeometry::TooLarge() const {
  return OverDesignLimit(width, height);
}

void ChartGeometry::Check() const {
  if (TooLarge()) throw EDesignTooLarge();
}

LegendGeometry LegendLayout(int64_t image_width, int64_t h, int64_t h_width, int64_t count) {
  LegendGeometry legend;
  legend.h = h;
  legend.n = 11 * h_width + 5;
  legend.e = h + legend.n + 5;
  legend.count = count;
  legend.width = image_width;
  legend.q = legend.e > 0 ? image_width / legend.e : 0;
  // A font too wide for even one entry still gets one per row, on an image that holds it.
  if (legend.q < 1) {
    legend.q = 1;
    legend.width = std::max(legend.width, legend.e);
  }
  legend.r = count / legend.q;
  while (legend.r * legend.q < count) ++legend.r;
  legend.m = (legend.width - legend.e * legend.q) / 2;
  legend.height = (h + 5) * legend.r + 5;
  // The wider spacing runs a full row past the counted width: widen to the last entry.
  const int64_t in_row = std::min(count, legend.q);
  if (in_row > 0)
    legend.width = std::max(legend.width, legend.m + (in_row - 1) * legend.Step() + legend.e);
  return legend;
}

int64_t LegendImageWidth(int64_t chart_width) {
  return std::max<int64_t>(chart_width, 400);
}
