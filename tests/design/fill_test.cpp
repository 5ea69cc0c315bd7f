#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <functional>
#include <queue>
#include <random>

#include "design/cell_patch.h"
#include "design/design_rules.h"
#include "design/flood_fill.h"
#include "design/raster_snapshot.h"
#include "tests/design/design_pictures.h"
#include "tests/design/reference_fill.h"

namespace {

// A one-cell corridor winding down and up the columns: every row is cut into 1-cell runs.
DesignRaster Serpentine(int size) {
  DesignRaster raster(size, size);
  for (int x = 1; x < size; x += 2)
    for (int y = 0; y < size; ++y)
      if (y != ((x / 2) % 2 == 0 ? size - 1 : 0)) raster.Set(x, y, kInk);
  return raster;
}

void RunWithStack(std::size_t bytes, const std::function<void()>& work) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
  pthread_t thread;
  auto* job = new std::function<void()>(work);
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* data) -> void* {
                  auto* own = static_cast<std::function<void()>*>(data);
                  (*own)();
                  delete own;
                  return nullptr;
                },
                job),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

}  // namespace

TEST(Fill, TakesTheFourConnectedAreaOfExactlyTheSeedsColour) {
  // A ring round a ring with a white island; a near-white cell; a diagonal wall at the right.
  const auto ring = Rows(
      "............ .########... .#......#... .#.####.#.w. .#.#..#.#... .#.####.#... "
      ".#......#..# .########.#. ...........B ..........#.");
  const std::pair<Cell, std::string> cases[] = {
      {{0, 0},  // not the gap between the rings, not the island, no leak across the wall
       "bbbbbbbbbbbb b########bbb b#......#bbb b#.####.#bwb b#.#..#.#bbb b#.####.#bbb "
       "b#......#bb# b########b#. bbbbbbbbbbbB bbbbbbbbbb#."},
      {{4, 4},
       "............ .########... .#......#... .#.####.#.w. .#.#bb#.#... .#.####.#... "
       ".#......#..# .########.#. ...........B ..........#."},
      {{1, 1},
       "............ .bbbbbbbb... .b......b... .b.####.b.w. .b.#..#.b... .b.####.b... "
       ".b......b..# .bbbbbbbb.#. ...........B ..........#."},
      {{11, 9},
       "............ .########... .#......#... .#.####.#.w. .#.#..#.#... .#.####.#... "
       ".#......#..# .########.#. ...........B ..........#b"},
  };
  for (const auto& [seed, expected] : cases) {
    DesignRaster raster = FromPicture(ring);
    const CellRect changed = Fill(raster, seed, kBlue);
    EXPECT_EQ(changed, Difference(FromPicture(ring), raster));
    EXPECT_EQ(PictureOf(raster), Rows(expected));
    // The recorded fill paints the same and its patch, 4 bytes a cell, gives back the design.
    DesignRaster recorded = FromPicture(ring);
    const RecordedFill step = FillRecorded(recorded, seed, kBlue);
    EXPECT_EQ(recorded, raster);
    EXPECT_EQ(step.changed, changed);
    EXPECT_EQ(step.before.Bytes(), std::size_t(step.changed.Cells()) * 4);
    EXPECT_EQ(step.before.Restore(recorded), step.changed);
    EXPECT_EQ(recorded, FromPicture(ring));
  }
}

TEST(Fill, TheSameColourOrASeedOffTheDesignChangesNothing) {
  DesignRaster raster(12, 10);
  PaintLine(raster, {0, 5}, {11, 5}, kInk);
  const DesignRaster before = raster;
  EXPECT_TRUE(Fill(raster, {3, 2}, kDesignWhite).Empty());
  EXPECT_TRUE(Fill(raster, {3, 5}, kInk | 0x7F000000u).Empty());  // same colour value
  EXPECT_TRUE(Fill(raster, {12, 2}, kBlue).Empty());
  EXPECT_TRUE(Fill(raster, {-1, -1}, kBlue).Empty());
  const RecordedFill step = FillRecorded(raster, {3, 2}, kDesignWhite);
  EXPECT_TRUE(step.changed.Empty());
  EXPECT_EQ(step.before.Bytes(), 0u);
  EXPECT_EQ(raster, before);
}

TEST(Fill, MatchesThePlainFillOnRandomDesigns) {
  std::mt19937 random(13);
  for (int round = 0; round < 300; ++round) {
    DesignRaster raster(1 + int(random() % 23), 1 + int(random() % 17));
    const int colours = 2 + int(random() % 2);
    for (int y = 0; y < raster.Height(); ++y)
      for (int x = 0; x < raster.Width(); ++x)
        raster.Set(x, y, MakeColor(random() % colours, 0, 0));
    const Cell seed{int(random() % raster.Width()), int(random() % raster.Height())};
    DesignRaster expected = raster, recorded = raster;
    const DesignRaster before = raster;
    ReferenceFill(expected, seed, kBlue);
    EXPECT_EQ(Fill(raster, seed, kBlue), Difference(before, expected));
    ASSERT_EQ(raster, expected) << round;
    FillRecorded(recorded, seed, kBlue).before.Restore(recorded);
    ASSERT_EQ(recorded, before) << round;
  }
}

TEST(Fill, AMillionCellSerpentineNeedsNoDeepStack) {
  DesignRaster raster = Serpentine(1000), expected = raster;
  ReferenceFill(expected, {0, 0}, kBlue);
  CellRect changed;
  RunWithStack(256 * 1024, [&] { changed = Fill(raster, {0, 0}, kBlue); });
  EXPECT_EQ(changed, (CellRect{0, 0, 1000, 1000}));
  EXPECT_TRUE(raster == expected);
  // The whole corridor: 500 columns and the 500 gaps between them.
  EXPECT_EQ(std::count(raster.Cells().begin(), raster.Cells().end(), kBlue), 500 * 1000 + 500);
}

TEST(CellPatch, GivesBackTheCellsOfItsRectangleOnly) {
  DesignRaster raster = FromPicture({"a.b.", "c#d.", "..e#"});
  const DesignRaster before = raster;
  const CellPatch patch(raster, {1, 1, 9, 9});  // cut to the design
  EXPECT_EQ(patch.Rect(), (CellRect{1, 1, 4, 3}));
  EXPECT_EQ(patch.Bytes(), 6u * 4);
  PaintFilledRectangle(raster, {0, 0}, {3, 2}, kBlue);
  EXPECT_EQ(patch.Restore(raster), (CellRect{1, 1, 4, 3}));
  EXPECT_EQ(PictureOf(raster), (std::vector<std::string>{"bbbb", "b#d.", "b.e#"}));
  EXPECT_THROW(CellPatch({0, 0, 2, 2}, {1, 2, 3}), std::invalid_argument);
  // Gathered cells reaching past the left edge: only those on the design come back.
  EXPECT_EQ(CellPatch({-1, 0, 2, 1}, {kInk, kInk, kBlue}).Restore(raster), (CellRect{0, 0, 2, 1}));
  EXPECT_EQ(PictureOf(raster)[0], "#bbb");

  // A resize is undone by its snapshot: the old size and every old cell.
  const RasterSnapshot snapshot(before);
  raster.Resize(50, 50);
  EXPECT_EQ(snapshot.Restore(raster), (CellRect{0, 0, 4, 3}));
  EXPECT_EQ(raster, before);
  EXPECT_EQ(snapshot.Bytes(), 12u * 4);
}
