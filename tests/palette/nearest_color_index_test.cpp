#include "palette/nearest_color_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/parallel.h"
#include "palette/floss_palette.h"
#include "palette/nearest_answer_cache.h"
#include "palette/nearest_buffer_pool.h"
#include "tests/support/floss_table.h"

namespace {

std::string Hex(TColor c) {
  char text[16];
  std::snprintf(text, sizeof(text), "%06x", unsigned(c));
  return text;
}

std::vector<TColor> RandomColors(std::mt19937& random, size_t count) {
  std::uniform_int_distribution<uint32_t> any(0, 0xFFFFFF);
  std::vector<TColor> colors(count);
  for (TColor& c : colors) c = any(random);
  return colors;
}

// Random colors, the cube's corners, and every entry and its neighbours one step away,
// where the nearest changes from one entry to another.
std::vector<TColor> Probes(std::mt19937& random, const std::vector<TColor>& palette) {
  std::vector<TColor> probes = RandomColors(random, 20000);
  for (int corner = 0; corner < 8; ++corner)
    probes.push_back(MakeColor(corner & 1 ? 255 : 0, corner & 2 ? 255 : 0, corner & 4 ? 255 : 0));
  for (TColor c : palette) {
    for (int axis = 0; axis < 3; ++axis) {
      for (int step : {-1, 0, 1}) {
        int rgb[3] = {RedOf(c), GreenOf(c), BlueOf(c)};
        rgb[axis] = std::clamp(rgb[axis] + step, 0, 255);
        probes.push_back(MakeColor(uint8_t(rgb[0]), uint8_t(rgb[1]), uint8_t(rgb[2])));
      }
    }
  }
  return probes;
}

// Colors as the pixels of a picture row: blue, green, red.
std::vector<uint8_t> AsPixels(const std::vector<TColor>& colors) {
  std::vector<uint8_t> pixels;
  pixels.reserve(3 * colors.size());
  for (TColor c : colors) pixels.insert(pixels.end(), {BlueOf(c), GreenOf(c), RedOf(c)});
  return pixels;
}

void ExpectMatchesLinear(const std::vector<TColor>& palette, const std::vector<TColor>& probes) {
  const NearestColorIndex index(palette);
  std::vector<int32_t> many(probes.size(), -1), pixels(probes.size(), -1);
  index.FindMany(probes.data(), probes.size(), many.data());
  index.FindPixels(AsPixels(probes).data(), probes.size(), pixels.data());
  for (size_t i = 0; i < probes.size(); ++i) {
    const int32_t expected = LinearNearest(palette, probes[i]);
    ASSERT_EQ(index.Find(probes[i]), expected) << "Find " << Hex(probes[i]);
    ASSERT_EQ(many[i], expected) << "FindMany " << Hex(probes[i]);
    ASSERT_EQ(pixels[i], expected) << "FindPixels " << Hex(probes[i]);
  }
}

TEST(NearestColorIndex, SettlesTiesAndExactHitsLikeTheLinearSearch) {
  const TColor grey = MakeColor(10, 10, 10);
  // Equal colors: the first wins, whether hit exactly or approached.
  const std::vector<TColor> twins = {grey, grey};
  EXPECT_EQ(NearestColorIndex(twins).Find(grey), 0);
  EXPECT_EQ(NearestColorIndex(twins).Find(MakeColor(200, 0, 90)), 0);
  // Equally far from two different colors: the lower index wins.
  const std::vector<TColor> pair = {MakeColor(0, 0, 0), MakeColor(2, 0, 0)};
  EXPECT_EQ(NearestColorIndex(pair).Find(MakeColor(1, 0, 0)), 0);
  const std::vector<TColor> swapped = {MakeColor(2, 0, 0), MakeColor(0, 0, 0)};
  EXPECT_EQ(NearestColorIndex(swapped).Find(MakeColor(1, 0, 0)), 0);
  // A color in the palette gives the first entry holding it, even past nearer-looking ones.
  const std::vector<TColor> repeats = {MakeColor(9, 9, 9), grey, MakeColor(11, 10, 10), grey};
  EXPECT_EQ(NearestColorIndex(repeats).Find(grey), 1);

  for (const auto& palette : {twins, pair, swapped, repeats}) {
    std::mt19937 random(1);
    ExpectMatchesLinear(palette, Probes(random, palette));
  }

  // The far corner of a box of side s from an entry at its near corner ties with an entry
  // outside that reaches the box nowhere closer: the outside entry, listed first, must win.
  for (int side : {4, 16, 32}) {
    for (int low : {0, 2 * side}) {
      const int far = low + side - 1, outside = low + 2 * (side - 1);
      const std::vector<TColor> palette = {MakeColor(outside, outside, outside),
                                           MakeColor(low, low, low)};
      EXPECT_EQ(NearestColorIndex(palette).Find(MakeColor(far, far, far)), 0)
          << "side " << side << " from " << low;
    }
  }
}

TEST(NearestColorIndex, EmptyPaletteGivesZero) {
  const NearestColorIndex index({});
  EXPECT_EQ(index.Size(), 0u);
  EXPECT_EQ(index.Find(MakeColor(1, 2, 3)), 0);
  std::mt19937 random(2);
  const std::vector<TColor> colors = RandomColors(random, 100000);
  std::vector<int32_t> indices(colors.size(), -1);
  index.FindMany(colors.data(), colors.size(), indices.data());
  EXPECT_EQ(std::count(indices.begin(), indices.end(), 0), ptrdiff_t(colors.size()));
}

TEST(NearestColorIndex, RandomPalettesMatchTheLinearSearch) {
  std::mt19937 random(3);
  for (size_t size : {1, 2, 5, 40, 454, 3000}) {
    SCOPED_TRACE(size);
    const std::vector<TColor> palette = RandomColors(random, size);
    ExpectMatchesLinear(palette, Probes(random, palette));
  }
  // Too many entries for the answer table, as a mixed palette has: pixels take the cells.
  const std::vector<TColor> mixed = RandomColors(random, 20000);
  std::vector<TColor> probes = RandomColors(random, 3000);
  probes.insert(probes.end(), probes.begin(), probes.begin() + 500);  // repeated colors
  ExpectMatchesLinear(mixed, probes);
}

TEST(NearestColorIndex, TieHeavyPalettesMatchTheLinearSearch) {
  std::mt19937 random(4);
  // A few colors repeated in random order: every query ties among equal entries.
  const std::vector<TColor> few = RandomColors(random, 6);
  std::vector<TColor> duplicates;
  for (int i = 0; i < 600; ++i) duplicates.push_back(few[random() % few.size()]);
  // Corners, edge midpoints and centre of the cube: long runs of equidistant entries.
  std::vector<TColor> corners_and_edges;
  for (int b : {0, 128, 255})
    for (int g : {0, 128, 255})
      for (int r : {0, 128, 255}) corners_and_edges.push_back(MakeColor(r, g, b));
  // A regular lattice, listed twice: ties between neighbours and between copies at once.
  std::vector<TColor> lattice;
  for (int copy = 0; copy < 2; ++copy)
    for (int b = 0; b < 256; b += 34)
      for (int g = 0; g < 256; g += 34)
        for (int r = 0; r < 256; r += 34) lattice.push_back(MakeColor(r, g, b));

  for (const auto& palette : {duplicates, corners_and_edges, lattice}) {
    std::vector<TColor> probes = Probes(random, palette);
    // Points halfway between lattice neighbours, where the distance ties exactly.
    for (int c = 17; c < 256; c += 34) probes.push_back(MakeColor(c, c, c));
    ExpectMatchesLinear(palette, probes);
  }
}

// The answer for every color of the cube by brute force: entry after entry, each blue plane
// keeps the least (distance, index) key per color. The same minimum the linear search finds,
// in loops the compiler vectorises, so the cube takes seconds rather than the plain search's
// minutes. Palettes of up to 512 entries, so the index fits in the key's low 9 bits.
std::vector<int32_t> WholeCubeByBruteForce(const std::vector<TColor>& palette) {
  std::vector<int32_t> nearest(size_t(1) << 24);
  ParallelFor(256, 1, [&](size_t first_blue, size_t end_blue) {
    std::vector<uint32_t> plane(65536);
    uint32_t red_part[256];
    for (size_t blue = first_blue; blue < end_blue; ++blue) {
      std::fill(plane.begin(), plane.end(), std::numeric_limits<uint32_t>::max());
      for (uint32_t e = 0; e < palette.size(); ++e) {
        for (int r = 0; r < 256; ++r)
          red_part[r] = uint32_t((r - RedOf(palette[e])) * (r - RedOf(palette[e]))) << 9;
        const int db = int(blue) - BlueOf(palette[e]);
        for (int g = 0; g < 256; ++g) {
          const int dg = g - GreenOf(palette[e]);
          const uint32_t rest = uint32_t(dg * dg + db * db) << 9 | e;
          uint32_t* row = &plane[size_t(g) << 8];
          for (int r = 0; r < 256; ++r) row[r] = std::min(row[r], red_part[r] + rest);
        }
      }
      for (size_t k = 0; k < plane.size(); ++k) nearest[blue << 16 | k] = int32_t(plane[k] & 511);
    }
  });
  return nearest;
}

std::vector<TColor> DmcColors() {
  std::vector<TColor> colors;
  for (const FlossRow& row : ReadFlossTable("dmc.tsv"))
    colors.push_back(MakeColor(uint8_t(std::stoi(row.red)), uint8_t(std::stoi(row.green)),
                               uint8_t(std::stoi(row.blue))));
  return colors;
}

TEST(NearestColorIndex, WholeCubeMatchesForTheDmcTable) {
  const std::vector<TColor> palette = DmcColors();
  ASSERT_EQ(palette.size(), 454u);
  const std::vector<int32_t> expected = WholeCubeByBruteForce(palette);
  // The brute force stands in for the linear search only where they agree.
  for (TColor c = 0; c < (1u << 24); c += 4099) ASSERT_EQ(expected[c], LinearNearest(palette, c));

  std::vector<TColor> cube(size_t(1) << 24);
  for (size_t c = 0; c < cube.size(); ++c) cube[c] = TColor(c);
  std::vector<int32_t> found(cube.size(), -1), as_pixels(cube.size(), -1);
  NearestColorIndex(palette).FindMany(cube.data(), cube.size(), found.data());
  // A picture holding every color fills the whole answer table.
  NearestColorIndex(palette).FindPixels(AsPixels(cube).data(), cube.size(), as_pixels.data());
  size_t mismatches = 0;
  for (size_t c = 0; c < cube.size(); ++c) {
    if ((found[c] != expected[c] || as_pixels[c] != expected[c]) && ++mismatches <= 5)
      ADD_FAILURE() << Hex(TColor(c)) << ": " << found[c] << " and " << as_pixels[c]
                    << " instead of " << expected[c];
  }
  EXPECT_EQ(mismatches, 0u);
}

TEST(NearestColorIndex, ConcurrentLookupsAgree) {
  std::mt19937 random(5);
  const std::vector<TColor> palette = RandomColors(random, 454);
  const std::vector<TColor> probes = RandomColors(random, 200000);
  const std::vector<uint8_t> pixels = AsPixels(probes);
  // Both threads start on a fresh index, so they race to build the same cells and to fill
  // the same answers.
  const NearestColorIndex index(palette);
  std::vector<int32_t> first(probes.size()), second(probes.size());
  std::vector<int32_t> first_pixels(probes.size()), second_pixels(probes.size());
  std::thread other([&] {
    for (size_t i = 0; i < probes.size(); ++i) second[i] = index.Find(probes[i]);
    index.FindPixels(pixels.data(), probes.size(), second_pixels.data());
  });
  for (size_t i = 0; i < probes.size(); ++i) first[i] = index.Find(probes[i]);
  index.FindPixels(pixels.data(), probes.size(), first_pixels.data());
  other.join();
  EXPECT_EQ(first, second);
  EXPECT_EQ(first_pixels, first);
  EXPECT_EQ(second_pixels, first);
  for (size_t i = 0; i < probes.size(); i += 97)
    ASSERT_EQ(first[i], LinearNearest(palette, probes[i])) << Hex(probes[i]);
}

// Threads starting together on the same pixels of a fresh cache keep meeting cells that
// another is answering; each answers such a pixel itself, and exactly.
TEST(NearestAnswerCache, PixelsOfCellsBeingAnsweredElsewhereAreExact) {
  std::mt19937 random(9);
  const std::vector<TColor> palette = RandomColors(random, 454);
  std::vector<TColor> probes = Probes(random, palette);
  std::shuffle(probes.begin(), probes.end(), random);
  const std::vector<uint8_t> pixels = AsPixels(probes);
  for (int round = 0; round < 8; ++round) {
    const NearestColorGrid grid(palette);
    const NearestAnswerCache cache(grid);
    std::vector<std::vector<int32_t>> found(3, std::vector<int32_t>(probes.size(), -1));
    std::atomic<int> ready = 0;
    const auto run = [&](size_t t) {
      ++ready;
      while (ready < 3) {
      }
      cache.FindPixels(pixels.data(), probes.size(), found[t].data());
    };
    std::thread second(run, 1), third(run, 2);
    run(0);
    second.join();
    third.join();
    for (const auto& answers : found)
      for (size_t i = 0; i < probes.size(); ++i)
        ASSERT_EQ(answers[i], LinearNearest(palette, probes[i])) << Hex(probes[i]);
  }
}

// Every color of the cells a set of probes reaches, through a fresh cache: exact, and the
// cells sorted as expected into those of one floss and those on a boundary.
TEST(NearestAnswerCache, AnswersCellsOfOneFlossAndBoundaryCellsExactly) {
  const TColor black = MakeColor(0, 0, 0), red8 = MakeColor(8, 0, 0);
  struct Case {
    const char* name;
    std::vector<TColor> palette;
    size_t boundary_cells, floss_slots;  // after the 64 cells along the red axis
  } cases[] = {
      {"one color", {MakeColor(90, 20, 200)}, 0, 1},
      // Red 4 is as far from both: the first wins, so red 4-7 is split between the two...
      {"boundary between red 4 and 5", {black, red8}, 1, 2},
      // ...unless the first is the far one, which then takes the whole cell.
      {"tie settled inside a cell", {red8, black}, 0, 2},
      {"duplicates", {black, black, red8, red8}, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NearestColorGrid grid(c.palette);
    const NearestAnswerCache cache(grid);
    std::vector<TColor> axis;  // the cells of side 4 along the red axis, every color of each
    for (int r = 0; r < 256; ++r)
      for (int g = 0; g < 4; ++g)
        for (int b = 0; b < 4; ++b) axis.push_back(MakeColor(r, g, b));
    std::vector<int32_t> found(axis.size(), -1);
    cache.FindPixels(AsPixels(axis).data(), axis.size(), found.data());
    for (size_t i = 0; i < axis.size(); ++i)
      ASSERT_EQ(found[i], LinearNearest(c.palette, axis[i])) << Hex(axis[i]);
    EXPECT_EQ(cache.BoundaryCells(), c.boundary_cells);
    EXPECT_EQ(cache.FlossSlots(), c.floss_slots);
  }

  // A cell asked again is read, not answered again; random colors stay exact.
  std::mt19937 random(6);
  const std::vector<TColor> palette = RandomColors(random, 454);
  const NearestColorGrid grid(palette);
  const NearestAnswerCache cache(grid);
  const std::vector<TColor> probes = Probes(random, palette);
  std::vector<int32_t> first(probes.size()), again(probes.size());
  cache.FindPixels(AsPixels(probes).data(), probes.size(), first.data());
  const size_t cells = cache.BoundaryCells(), bytes = cache.MemoryBytes();
  cache.FindPixels(AsPixels(probes).data(), probes.size(), again.data());
  EXPECT_EQ(again, first);
  EXPECT_EQ(cache.BoundaryCells(), cells);
  EXPECT_EQ(cache.MemoryBytes(), bytes);
  for (size_t i = 0; i < probes.size(); ++i)
    ASSERT_EQ(first[i], LinearNearest(palette, probes[i])) << Hex(probes[i]);
}

// Buffers come back for the next index; what the last one wrote never shows through: a
// recycled buffer asked zeroed is zero, and indexes made one after another over the same
// pixels, with other colors, while an earlier one lives on or not, all answer exactly.
TEST(NearestBufferPool, RecycledBuffersCarryNothingOver) {
  constexpr size_t kCount = 1 << 18;
  {
    auto dirty = NearestBufferPool::Take<uint32_t>(kCount, false);
    std::fill(dirty.get(), dirty.get() + kCount, 0xDEADBEEF);
  }
  const auto clean = NearestBufferPool::Take<uint32_t>(kCount, true);
  EXPECT_EQ(std::count(clean.get(), clean.get() + kCount, 0u), ptrdiff_t(kCount));

  std::mt19937 random(8);
  const std::vector<TColor> probes = RandomColors(random, 50000);
  const std::vector<uint8_t> pixels = AsPixels(probes);
  std::unique_ptr<NearestColorIndex> kept;
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    const std::vector<TColor> palette = RandomColors(random, round % 2 ? 454 : 7);
    auto index = std::make_unique<NearestColorIndex>(palette);
    std::vector<int32_t> found(probes.size(), -1);
    index->FindPixels(pixels.data(), probes.size(), found.data());
    for (size_t i = 0; i < probes.size(); ++i)
      ASSERT_EQ(found[i], LinearNearest(palette, probes[i])) << Hex(probes[i]);
    if (round == 1) kept = std::move(index);
  }
}

// A cell the grid calls single has one answer everywhere, and every cell's answers are the
// linear search's.
TEST(NearestColorGrid, CellsAnswerEveryColorInsideThem) {
  std::mt19937 random(7);
  for (size_t size : {1, 3, 454}) {
    SCOPED_TRACE(size);
    const std::vector<TColor> palette = RandomColors(random, size);
    const NearestColorGrid grid(palette);
    for (TColor corner : RandomColors(random, 300)) {
      const int r0 = RedOf(corner) & ~3, g0 = GreenOf(corner) & ~3, b0 = BlueOf(corner) & ~3;
      const NearestColorGrid::Cell cell = grid.CellOf(r0, g0, b0);
      for (int k = 0; k < 64; ++k) {
        const int r = r0 + (k & 3), g = g0 + (k >> 2 & 3), b = b0 + (k >> 4);
        const int32_t expected = LinearNearest(palette, MakeColor(r, g, b));
        ASSERT_EQ(grid.CellOf(r, g, b).Answer(r, g, b), expected) << Hex(MakeColor(r, g, b));
        if (cell.IsSingle()) {
          ASSERT_EQ(cell.Single(), expected) << Hex(MakeColor(r, g, b));
        }
      }
    }
  }
}

// A palette makes its search once per revision of its colors, with the maker it was given,
// which stays its own across Assign and whatever the colors become.
TEST(NearestColorIndex, PalettesMakeTheirSearchPerRevision) {
  TpunPal palette;
  palette.AddClr(MakeColor(0, 0, 0), "black");
  palette.AddClr(MakeColor(250, 250, 250), "white");
  int made = 0;
  palette.SetNearestSearch([&](std::vector<TColor> colors) {
    ++made;
    return LinearColorSearch::Make(std::move(colors));
  });
  const TColor light = MakeColor(200, 200, 200);
  const std::vector<uint8_t> pixel = AsPixels({light});
  int32_t index = -1;
  const auto pixel_answer = [&] {
    palette.NearestIndex().FindPixels(pixel.data(), 1, &index);
    return index;
  };
  EXPECT_EQ(palette.NearestClr(light), 1);
  EXPECT_EQ(pixel_answer(), 1);
  EXPECT_EQ(made, 1);  // the same revision: the same search
  palette.PutClr(0, MakeColor(210, 210, 210));
  EXPECT_EQ(pixel_answer(), 0);
  EXPECT_EQ(made, 2);
  TpunPal other;
  other.AddClr(MakeColor(10, 10, 10), "dark");
  other.AddClr(MakeColor(190, 200, 200), "grey");
  palette.Assign(other);
  EXPECT_EQ(palette.NearestClr(light), 1);
  EXPECT_EQ(made, 3);
  // Back to the index: the same answers.
  palette.SetNearestSearch(nullptr);
  EXPECT_EQ(pixel_answer(), 1);
  EXPECT_EQ(made, 3);
  EXPECT_EQ(palette.NearestIndex().Find(MakeColor(5, 5, 5)), 0);
}

}  // namespace
