#include "design/design_rules.h"

#include <algorithm>
#include <cstdlib>

#include "design/shape_box.h"

CellRect PaintSpan(DesignRaster& raster, long long row, long long from, long long to,
                   TColor colour) {
  if (row < 0 || row >= raster.Height()) return {};
  const int first = int(std::max<long long>(from, 0));
  const int last = int(std::min<long long>(to, raster.Width()));
  if (first >= last) return {};
  std::fill(raster.Row(int(row)) + first, raster.Row(int(row)) + last, CellColor(colour));
  return {first, int(row), last, int(row) + 1};
}

CellRect PaintCell(DesignRaster& raster, Cell cell, TColor colour) {
  return PaintSpan(raster, cell.row, cell.col, (long long)cell.col + 1, colour);
}

namespace {

using Wide = __int128;

Wide FloorDiv(Wide a, Wide b) {  // b > 0
  Wide q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}

// One axis of the line walked cell by cell (major) and the other rounded (minor).
struct LineAxes {
  long long major0, step, steps;  // major = major0 + step * i for i in [0, steps]
  long long minor0, minor_delta;
  bool major_is_col;
};

LineAxes AxesOf(Cell s, Cell e) {
  const long long dx = (long long)e.col - s.col, dy = (long long)e.row - s.row;
  if (std::llabs(dx) >= std::llabs(dy))
    return {s.col, dx < 0 ? -1 : 1, std::llabs(dx), s.row, dy, true};
  return {s.row, dy < 0 ? -1 : 1, std::llabs(dy), s.col, dx, false};
}

}  // namespace

CellRect PaintLine(DesignRaster& raster, Cell s, Cell e, TColor colour) {
  if (s == e) return {};
  const LineAxes line = AxesOf(s, e);
  const long long major_size = line.major_is_col ? raster.Width() : raster.Height();
  const long long minor_size = line.major_is_col ? raster.Height() : raster.Width();
  // Only the steps whose major coordinate lies on the design, so a line from far outside
  // costs no more than one across it.
  long long first, last;
  if (line.step > 0) {
    first = std::max(0LL, -line.major0);
    last = std::min(line.steps, major_size - 1 - line.major0);
  } else {
    first = std::max(0LL, line.major0 - (major_size - 1));
    last = std::min(line.steps, line.major0);
  }
  CellRect changed;
  const Wide twice_steps = Wide(2) * line.steps;
  for (long long i = first; i <= last; ++i) {
    const long long major = line.major0 + line.step * i;
    const long long minor =
        line.minor0 + (long long)FloorDiv(Wide(2) * i * line.minor_delta + line.steps, twice_steps);
    if (minor < 0 || minor >= minor_size) continue;
    const Cell cell =
        line.major_is_col ? Cell{int(major), int(minor)} : Cell{int(minor), int(major)};
    changed = changed.United(PaintCell(raster, cell, colour));
  }
  return changed;
}

CellRect PaintRectangle(DesignRaster& raster, Cell s, Cell e, TColor colour) {
  const WideBox box = OrderedBox(s, e);
  if (box.Empty()) return {};
  CellRect changed = PaintSpan(raster, box.top, box.left, box.right, colour);
  changed = changed.United(PaintSpan(raster, box.bottom - 1, box.left, box.right, colour));
  const long long first = std::max<long long>(box.top + 1, 0);
  const long long last = std::min<long long>(box.bottom - 1, raster.Height());
  for (long long row = first; row < last; ++row) {
    changed = changed.United(PaintSpan(raster, row, box.left, box.left + 1, colour));
    changed = changed.United(PaintSpan(raster, row, box.right - 1, box.right, colour));
  }
  return changed;
}

CellRect PaintFilledRectangle(DesignRaster& raster, Cell s, Cell e, TColor colour) {
  const WideBox box = OrderedBox(s, e);
  if (box.Empty()) return {};
  CellRect changed;
  const long long first = std::max<long long>(box.top, 0);
  const long long last = std::min<long long>(box.bottom, raster.Height());
  for (long long row = first; row < last; ++row)
    changed = changed.United(PaintSpan(raster, row, box.left, box.right, colour));
  return changed;
}

CellRect LineBounds(const DesignRaster& raster, Cell s, Cell e) {
  if (s == e) return {};
  return InclusiveBox(s, e).Clipped(raster.Bounds());
}

CellRect ShapeBounds(const DesignRaster& raster, Cell s, Cell e) {
  return OrderedBox(s, e).Clipped(raster.Bounds());
}
