#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <map>

#include "design/design_rules.h"
#include "design/ellipse_rule.h"
#include "tests/design/design_pictures.h"

namespace {

using Rule = std::function<CellRect(DesignRaster&, Cell, Cell, TColor)>;

// Each drag rule with the rectangle its undo step saves before it paints.
struct DragRule {
  Rule paint;
  CellRect (*bounds)(const DesignRaster&, Cell, Cell);
};
const DragRule kDragRules[] = {{PaintLine, LineBounds},
                               {PaintRectangle, ShapeBounds},
                               {PaintFilledRectangle, ShapeBounds},
                               {PaintEllipse, ShapeBounds},
                               {PaintFilledEllipse, ShapeBounds}};

// Paints one rule on a fresh 12 by 10 design and checks that the rectangle it returns is
// exactly where the design changed.
std::vector<std::string> Painted(const Rule& rule, Cell s, Cell e) {
  DesignRaster raster(12, 10);
  const DesignRaster before = raster;
  const CellRect changed = rule(raster, s, e, kInk);
  EXPECT_EQ(changed, Difference(before, raster));
  return PictureOf(raster);
}

}  // namespace

TEST(DesignRaster, IsWhiteWhenNewOrResizedAndChecksItsCells) {
  DesignRaster raster(12, 10);
  EXPECT_EQ(raster.Cells(), std::vector<TColor>(120, kDesignWhite));
  raster.Set(11, 9, kInk);
  EXPECT_EQ(raster.At(11, 9), kInk);
  raster.Set(0, 0, 0xAB000000u | kBlue);  // only colour values are kept
  EXPECT_EQ(raster.At(0, 0), kBlue);
  EXPECT_THROW(raster.At(12, 0), std::out_of_range);
  EXPECT_THROW(raster.Set(0, -1, kInk), std::out_of_range);
  EXPECT_THROW(raster.Resize(-1, 5), std::invalid_argument);
  EXPECT_EQ(raster.Width(), 12);  // a refused size keeps the design
  EXPECT_EQ(raster.At(11, 9), kInk);
  raster.Resize(3, 40);
  EXPECT_EQ(raster.Cells(), std::vector<TColor>(120, kDesignWhite));
  raster.Resize(0, 7);
  EXPECT_TRUE(raster.Bounds().Empty());
}

TEST(DesignRules, PencilPaintsOneCellAndNothingOffTheDesign) {
  DesignRaster raster(12, 10);
  EXPECT_EQ(PaintCell(raster, {3, 4}, kInk), (CellRect{3, 4, 4, 5}));
  EXPECT_EQ(raster.At(3, 4), kInk);
  for (const Cell off : {Cell{-1, 4}, Cell{12, 4}, Cell{3, 10}, Cell{INT_MIN, INT_MAX}})
    EXPECT_TRUE(PaintCell(raster, off, kBlue).Empty());
  EXPECT_EQ(Difference(raster, DesignRaster(12, 10)), (CellRect{3, 4, 4, 5}));
}

TEST(DesignRules, LinesGiveTheirExactCells) {
  struct Case {
    Cell s, e;
    std::map<int, int> row_of_col;  // for lines along rows
  };
  const Case cases[] = {
      {{1, 1}, {4, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
      {{4, 1}, {1, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
      {{0, 0}, {5, 1}, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1}}},  // ends on (5, 1)
      {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {{6, 2}, {2, 4}, {{2, 4}, {3, 4}, {4, 3}, {5, 3}, {6, 2}}},  // halves round to the larger row
      {{2, 4}, {6, 2}, {{2, 4}, {3, 4}, {4, 3}, {5, 3}, {6, 2}}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> expected(10, std::string(12, '.'));
    for (const auto& [col, row] : c.row_of_col) expected[row][col] = '#';
    EXPECT_EQ(Painted(PaintLine, c.s, c.e), expected) << c.s.col << "," << c.s.row;
  }
  std::vector<std::string> column(10, std::string(12, '.'));
  for (int row = 2; row <= 7; ++row) column[row][5] = '#';
  EXPECT_EQ(Painted(PaintLine, {5, 7}, {5, 2}), column);
  EXPECT_EQ(Painted(PaintLine, {3, 3}, {3, 3}), PictureOf(DesignRaster(12, 10)));
}

TEST(DesignRules, EveryLineInASquareIsExactConnectedAndTheSameBothWays) {
  for (int s = 0; s < 81; ++s)
    for (int e = 0; e < 81; ++e) {
      const Cell S{s % 9, s / 9}, E{e % 9, e / 9};
      if (S == E) continue;
      const std::string where = std::to_string(S.col) + "," + std::to_string(S.row) + " to " +
                                std::to_string(E.col) + "," + std::to_string(E.row);
      const auto there = Painted(PaintLine, S, E);
      ASSERT_EQ(there, Painted(PaintLine, E, S)) << where;
      ASSERT_EQ(there[S.row][S.col], '#') << where;
      ASSERT_EQ(there[E.row][E.col], '#') << where;
      const int dx = E.col - S.col, dy = E.row - S.row;
      const bool along_cols = std::abs(dx) >= std::abs(dy);
      const int steps = std::max(std::abs(dx), std::abs(dy));
      // One cell for each step along the longer direction, within half a cell of the
      // exact line, and each next to the one before.
      int count = 0, previous = INT_MIN;
      for (int i = 0; i <= steps; ++i) {
        const int major = (along_cols ? S.col : S.row) + (along_cols ? dx : dy) / steps * i;
        int found = -1;
        for (int minor = 0; minor < (along_cols ? 10 : 12); ++minor) {
          const char cell = along_cols ? there[minor][major] : there[major][minor];
          if (cell == '#') ++count, found = minor;
        }
        const double exact =
            (along_cols ? S.row : S.col) + double(along_cols ? dy : dx) * i / steps;
        ASSERT_LE(std::abs(found - exact), 0.5) << where;
        if (previous != INT_MIN) {
          ASSERT_LE(std::abs(found - previous), 1) << where;
        }
        previous = found;
      }
      ASSERT_EQ(count, steps + 1) << where;
    }
}

TEST(DesignRules, RectanglesOrderTheirCornersAndExcludeTheFarOne) {
  auto outline = PictureOf(DesignRaster(12, 10));  // columns 2 to 5, rows 1 to 3
  outline[1] = outline[3] = "..####......";
  outline[2] = "..#..#......";
  auto filled = outline;
  filled[2] = "..####......";
  for (const auto& [s, e] : {std::pair{Cell{2, 3}, Cell{5, 1}},
                             {Cell{5, 1}, Cell{2, 3}},
                             {Cell{2, 1}, Cell{5, 3}},
                             {Cell{5, 3}, Cell{2, 1}}}) {
    EXPECT_EQ(Painted(PaintRectangle, s, e), outline);
    EXPECT_EQ(Painted(PaintFilledRectangle, s, e), filled);
  }
  EXPECT_EQ(ShapeBounds(DesignRaster(12, 10), {2, 3}, {5, 1}), (CellRect{2, 1, 6, 4}));
  // Start and end in one column or row: no extent there, nothing drawn.
  const auto blank = PictureOf(DesignRaster(12, 10));
  for (const auto& [s, e] :
       {std::pair{Cell{2, 3}, Cell{2, 7}}, {Cell{2, 3}, Cell{8, 3}}, {Cell{4, 4}, Cell{4, 4}}})
    for (const DragRule& rule : kDragRules)
      if (rule.bounds == ShapeBounds) {
        EXPECT_EQ(Painted(rule.paint, s, e), blank);
      }
}

TEST(DesignRules, CellsGivenOffTheDesignWriteOnlyWhatLiesOnIt) {
  // Each rule on 12 by 10 equals the same rule on a design that holds the whole shape, cut.
  constexpr int kMargin = 60;
  const std::pair<Cell, Cell> drags[] = {{{-5, -5}, {20, 15}}, {{-30, 4}, {40, 6}},
                                         {{11, 9}, {13, 11}},  {{-8, 12}, {-1, -3}},
                                         {{6, -40}, {7, 50}},  {{-20, -20}, {30, 25}}};
  for (const DragRule& rule : kDragRules)
    for (const auto& [s, e] : drags) {
      DesignRaster whole(12 + 2 * kMargin, 10 + 2 * kMargin), cut(12, 10);
      rule.paint(whole, {s.col + kMargin, s.row + kMargin}, {e.col + kMargin, e.row + kMargin},
                 kInk);
      const CellRect saved = rule.bounds(cut, s, e);
      const CellRect changed = rule.paint(cut, s, e, kInk);
      EXPECT_EQ(changed, Difference(DesignRaster(12, 10), cut));
      EXPECT_EQ(changed.United(saved), saved);
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
          ASSERT_EQ(cut.At(x, y), whole.At(x + kMargin, y + kMargin)) << x << "," << y;
    }
  // The far ends of int: nothing outside is touched and the result is still a clean cut.
  const std::pair<Cell, Cell> extremes[] = {{{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
                                            {{INT_MIN, 5}, {INT_MAX, 5}},
                                            {{INT_MAX, 0}, {INT_MIN, 9}},
                                            {{INT_MIN, INT_MAX}, {6, 4}}};
  for (const DragRule& rule : kDragRules)
    for (const auto& [s, e] : extremes) {
      DesignRaster cut(12, 10);
      const CellRect saved = rule.bounds(cut, s, e);
      const CellRect changed = rule.paint(cut, s, e, kInk);
      EXPECT_EQ(changed, Difference(DesignRaster(12, 10), cut));
      EXPECT_EQ(changed.United(saved), saved);
      EXPECT_EQ(saved.Intersected(cut.Bounds()), saved);
    }
  // A line across the whole int range through the design crosses it where it should.
  DesignRaster raster(12, 10);
  PaintLine(raster, {INT_MIN, 5}, {INT_MAX, 5}, kInk);
  EXPECT_EQ(Difference(DesignRaster(12, 10), raster), (CellRect{0, 5, 12, 6}));
}
