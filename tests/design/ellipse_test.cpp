#include <gtest/gtest.h>

#include <climits>
#include <queue>

#include "design/ellipse_rule.h"
#include "tests/design/design_pictures.h"

namespace {

// The ellipse of a w by h box drawn at (1, 1) on a design one cell larger on every side.
DesignRaster Drawn(int w, int h, bool filled) {
  DesignRaster raster(w + 2, h + 2);
  const CellRect changed =
      (filled ? PaintFilledEllipse : PaintEllipse)(raster, {1, 1}, {w, h}, kInk);
  EXPECT_EQ(changed, Difference(DesignRaster(w + 2, h + 2), raster));
  return raster;
}

std::vector<std::string> Cut(const DesignRaster& raster) {
  std::vector<std::string> rows = PictureOf(raster);
  std::vector<std::string> inner;
  for (size_t y = 1; y + 1 < rows.size(); ++y)
    inner.push_back(rows[y].substr(1, rows[y].size() - 2));
  return inner;
}

// Cells of `picture` reachable from (x, y) through cells of `kind`, 4- or 8-connected.
std::vector<std::string> Reach(std::vector<std::string> picture, int x, int y, char kind,
                               bool diagonal) {
  std::queue<std::pair<int, int>> queue;
  const auto visit = [&](int cx, int cy) {
    if (cy < 0 || cy >= int(picture.size()) || cx < 0 || cx >= int(picture[0].size())) return;
    if (picture[cy][cx] != kind) return;
    picture[cy][cx] = '*';
    queue.push({cx, cy});
  };
  visit(x, y);
  while (!queue.empty()) {
    const auto [cx, cy] = queue.front();
    queue.pop();
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if ((dx || dy) && (diagonal || !dx || !dy)) visit(cx + dx, cy + dy);
  }
  return picture;
}

int Count(const std::vector<std::string>& picture, char kind) {
  int count = 0;
  for (const auto& row : picture) count += int(std::count(row.begin(), row.end(), kind));
  return count;
}

}  // namespace

TEST(Ellipses, EveryBoxUpTo16GivesASymmetricClosedRingTouchingItsSides) {
  for (int w = 2; w <= 16; ++w)
    for (int h = 2; h <= 16; ++h) {
      const std::string box = std::to_string(w) + " by " + std::to_string(h);
      const DesignRaster outline = Drawn(w, h, false), filled = Drawn(w, h, true);
      const auto ring = PictureOf(outline), full = PictureOf(filled);
      // Inside the box and touching its four sides (the box's cells are 1..w, 1..h).
      EXPECT_EQ(Difference(DesignRaster(w + 2, h + 2), outline), (CellRect{1, 1, w + 1, h + 1}))
          << box;
      for (int y = 0; y < h + 2; ++y)
        for (int x = 0; x < w + 2; ++x) {
          ASSERT_EQ(ring[y][x], ring[y][w + 1 - x]) << box;
          ASSERT_EQ(ring[y][x], ring[h + 1 - y][x]) << box;
          ASSERT_EQ(full[y][x], full[y][w + 1 - x]) << box;
          ASSERT_EQ(full[y][x], full[h + 1 - y][x]) << box;
          if (ring[y][x] == '#') {
            ASSERT_EQ(full[y][x], '#') << box;
          }
        }
      // Filled = outline + inside: what the outside reaches around the ring is exactly what
      // the filled ellipse leaves white.
      const auto outside = Reach(ring, 0, 0, '.', false);
      for (int y = 0; y < h + 2; ++y)
        for (int x = 0; x < w + 2; ++x) ASSERT_EQ(outside[y][x] == '*', full[y][x] == '.') << box;
      if (w < 3 || h < 3) continue;
      // One closed ring: its cells hang together and it has an inside.
      const int ring_cells = Count(ring, '#');
      int y0 = 1;
      const int x0 = int(ring[y0].find('#'));
      EXPECT_EQ(Count(Reach(ring, x0, y0, '#', true), '*'), ring_cells) << box;
      EXPECT_GT(Count(full, '#'), ring_cells) << box;
    }
}

TEST(Ellipses, SmallShapesAreRound) {
  EXPECT_EQ(Cut(Drawn(7, 5, false)),
            (std::vector<std::string>{"..###..",  //
                                      "##...##",  //
                                      "#.....#",  //
                                      "##...##",  //
                                      "..###.."}));
  EXPECT_EQ(Cut(Drawn(12, 9, false)),
            (std::vector<std::string>{"...######...",  //
                                      "..#......#..",  //
                                      ".#........#.",  //
                                      "#..........#",  //
                                      "#..........#",  //
                                      "#..........#",  //
                                      ".#........#.",  //
                                      "..#......#..",  //
                                      "...######..."}));
  EXPECT_EQ(Cut(Drawn(10, 6, true)),
            (std::vector<std::string>{"..######..",  //
                                      ".########.",  //
                                      "##########",  //
                                      "##########",  //
                                      ".########.",  //
                                      "..######.."}));
}

TEST(Ellipses, HugeBoxesStayExactWhereTheyCrossTheDesign) {
  // A circle 2^31 cells across: its top row is a short run about the centre column.
  const int radius = 1 << 30;
  DesignRaster raster(12, 10);
  PaintEllipse(raster, {6 - radius, 0}, {6 + radius - 1, INT_MAX}, kInk);
  const EllipseSpan top = EllipseRow(2LL * radius, 2LL * radius, 0);
  EXPECT_EQ(top.first + top.last, 2LL * radius);  // centred
  EXPECT_EQ(top.last - top.first, 65536);         // the curve is sqrt(2^32 - 3) half-cells out
  EXPECT_EQ(Difference(DesignRaster(12, 10), raster), (CellRect{0, 0, 12, 1}));
}
