#pragma once
// Where everything of the colour chart lies: the chart (one square cell per picture pixel
// between one-pixel grid lines) and its legend (a swatch and a floss name per colour).
// Plain arithmetic, shared by the design window and puntel-cli, so both draw the same
// pixels.

#include <cstdint>

#include "base/exceptions.h"

// A chart over the size limit: allocating it whole would take gigabytes.
class EDesignTooLarge : public Exception {
 public:
  EDesignTooLarge();
};
inline constexpr const char* kDesignTooLarge = "Design too large for this cell size !";
inline constexpr int64_t kLargestDesignSide = 32767;
inline constexpr int64_t kLargestDesignPixels = int64_t(1) << 27;

// Over kLargestDesignSide on a side or kLargestDesignPixels in all.
bool OverDesignLimit(int64_t width, int64_t height);

// The cell sizes a chart may be drawn at, in pixels: the design window's and puntel-cli's.
inline constexpr int kSmallestDesignCell = 3, kLargestDesignCell = 50, kDefaultDesignCell = 10;

struct ChartCellBox {
  int64_t left = 0, top = 0, edge = 0;
};

// The chart of a columns x rows picture at cell size `cell`.
struct ChartGeometry {
  int64_t columns = 0, rows = 0, cell = 0;

  int64_t Pitch() const { return cell + 1; }
  int64_t Width() const { return columns * Pitch() + 1; }
  int64_t Height() const { return rows * Pitch() + 1; }
  // Vertical line k (0..columns) at x = LineX(k), from y = 0 up to, not including,
  // LineLengthY(); horizontal lines likewise. The end points stay white.
  int64_t LineX(int64_t k) const { return k * Pitch(); }
  int64_t LineY(int64_t k) const { return k * Pitch(); }
  int64_t VerticalLineLength() const { return rows * Pitch(); }
  int64_t HorizontalLineLength() const { return columns * Pitch(); }
  // The whole inside between the four lines around picture pixel (x, y).
  ChartCellBox Cell(int64_t x, int64_t y) const { return {x * Pitch() + 1, y * Pitch() + 1, cell}; }

  bool TooLarge() const;
  // Raises EDesignTooLarge when TooLarge().
  void Check() const;
};

struct LegendPoint {
  int64_t x = 0, y = 0;
};

// The legend of `count` colours in a font whose "H" is `h` high and `h_width` wide, on an
// image `image_width` wide.
struct LegendGeometry {
  int64_t h = 0;      // text height, and the swatch's edge
  int64_t n = 0;      // room for one name
  int64_t e = 0;      // one entry's width, as counted
  int64_t q = 0;      // entries per row, at least 1
  int64_t r = 0;      // rows
  int64_t m = 0;      // left margin
  int64_t count = 0;  // entries
  int64_t width = 0;  // the image's, widened to hold every entry
  int64_t height = 0;

  // Entries are laid out 5 pixels further apart than they are counted with.
  int64_t Step() const { return h + 5 + n + 5; }
  LegendPoint Entry(int64_t k) const { return {m + (k % q) * Step(), 5 + (k / q) * (h + 5)}; }
  // The floss name's left edge in the entry at x.
  int64_t NameX(int64_t entry_x) const { return entry_x + h + 5; }
  // Over the chart's size limit (a huge font): never allocated.
  bool TooLarge() const;
};

LegendGeometry LegendLayout(int64_t image_width, int64_t h, int64_t h_width, int64_t count);
// The legend image's width before its layout: the chart's, but at least 400.
int64_t LegendImageWidth(int64_t chart_width);
