#include "design/flood_fill.h"

#include <algorithm>
#include <vector>

namespace {

// Row y over [x1, x2] is to be scanned; it was reached from row y - dy.
struct Segment {
  int x1, x2, y, dy;
};

class SpanFill {
 public:
  SpanFill(DesignRaster& raster, TColor region, TColor replacement)
      : raster_(raster), region_(region), replacement_(replacement) {}

  CellRect Run(int x, int y) {
    Push(x, x, y, 1);
    Push(x, x, y - 1, -1);
    while (!stack_.empty()) {
      const Segment segment = stack_.back();
      stack_.pop_back();
      Scan(segment);
    }
    return changed_;
  }

 private:
  void Push(int x1, int x2, int y, int dy) {
    if (y >= 0 && y < raster_.Height()) stack_.push_back({x1, x2, y, dy});
  }

  // Every run of region cells that touches [x1, x2] is painted; the rows beyond are queued,
  // and the row it came from too where a run reaches past the parent's span.
  void Scan(const Segment& s) {
    TColor* row = raster_.Row(s.y);
    const int width = raster_.Width();
    int x1 = s.x1, x = x1;
    if (row[x] == region_) {
      while (x > 0 && row[x - 1] == region_) row[--x] = replacement_;
      if (x < x1) Push(x, x1 - 1, s.y - s.dy, -s.dy);
    }
    while (x1 <= s.x2) {
      while (x1 < width && row[x1] == region_) row[x1++] = replacement_;
      if (x1 > x) {
        Note(x, x1, s.y);
        Push(x, x1 - 1, s.y + s.dy, s.dy);
        if (x1 - 1 > s.x2) Push(s.x2 + 1, x1 - 1, s.y - s.dy, -s.dy);
      }
      ++x1;
      while (x1 < s.x2 && row[x1] != region_) ++x1;
      x = x1;
    }
  }

  void Note(int from, int to, int y) {
    if (changed_.Empty()) {
      changed_ = {from, y, to, y + 1};
      return;
    }
    changed_.left = std::min(changed_.left, from);
    changed_.right = std::max(changed_.right, to);
    changed_.top = std::min(changed_.top, y);
    changed_.bottom = std::max(changed_.bottom, y + 1);
  }

  DesignRaster& raster_;
  const TColor region_, replacement_;
  std::vector<Segment> stack_;
  CellRect changed_;
};

// Cells hold 24-bit colours only, so a top byte marks the cells the recorded fill took.
constexpr TColor kTaken = 0xFF000000u;

}  // namespace

CellRect Fill(DesignRaster& raster, Cell seed, TColor colour) {
  if (!raster.Contains(seed.col, seed.row)) return {};
  const TColor region = raster.Row(seed.row)[seed.col];
  if (region == CellColor(colour)) return {};
  return SpanFill(raster, region, CellColor(colour)).Run(seed.col, seed.row);
}

RecordedFill FillRecorded(DesignRaster& raster, Cell seed, TColor colour) {
  if (!raster.Contains(seed.col, seed.row)) return {};
  const TColor region = raster.Row(seed.row)[seed.col];
  const TColor paint = CellColor(colour);
  if (region == paint) return {};
  const CellRect changed = SpanFill(raster, region, kTaken).Run(seed.col, seed.row);
  // One pass over the changed rectangle: the old cells out, the marks to the paint colour.
  std::vector<TColor> old_cells(std::size_t(changed.Cells()));
  TColor* out = old_cells.data();
  for (int y = changed.top; y < changed.bottom; ++y) {
    TColor* row = raster.Row(y);
    for (int x = changed.left; x < changed.right; ++x) {
      // Both stores unconditional: taken and untaken cells alternate on a corridor.
      const TColor cell = row[x];
      const bool taken = cell == kTaken;
      *out++ = taken ? region : cell;
      row[x] = taken ? paint : cell;
    }
  }
  return {changed, CellPatch(changed, std::move(old_cells))};
}
