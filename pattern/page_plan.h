#pragma once
// How a printed chart is cut into pages, and where everything of a chart page lies on the
// paper, in millimetres from the page's top-left corner. Plain arithmetic shared by the
// printer, the PDF writer and puntel-cli, so all give the same pages.
//
// A page: a 10 mm margin on every side; inside it at the top a 12 mm header; below the
// header a 6 mm band for the column numbers, and left of the chart a 6 mm band for the row
// numbers. The chart starts at (margin + band, margin + header + band) and may use the rest
// of the space inside the margins:
//   fit   = whole cells of the cell size in that space, across and down;
//   own   = fit - overlap, since every page keeps room to repeat `overlap` stitches of its
//           neighbour before its own;
//   own   is rounded down to a multiple of 10 wherever it is at least 10.
// A4 portrait at 3 mm: 210 - 20 - 6 = 184 mm across, 61 cells, 59 own, 50;
//                      297 - 20 - 12 - 6 = 259 mm down, 86 cells, 84 own, 80.
// Every page holds the same number of own stitches (the last across and down fewer).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/exceptions.h"

// Options out of range, or a paper too small for one stitch: nothing is planned.
class EPagePlanError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr double kPageMarginMm = 10.0;
inline constexpr double kPageHeaderMm = 12.0;
inline constexpr double kNumberBandMm = 6.0;
inline constexpr double kMinCellMm = 2.0;
inline constexpr double kMaxCellMm = 8.0;
inline constexpr double kDefaultCellMm = 3.0;
inline constexpr int kMaxOverlap = 5;
inline constexpr int kDefaultOverlap = 2;

// A sheet's size in portrait, the shorter side first.
struct Paper {
  double width_mm = 0.0, height_mm = 0.0;
};
enum class PaperSize { A4, Letter, A3 };
Paper PaperOf(PaperSize size);

struct PagePlanOptions {
  Paper paper = PaperOf(PaperSize::A4);  // a printer's own paper may be any size
  bool landscape = false;
  double cell_mm = kDefaultCellMm;
  int overlap = kDefaultOverlap;
};

// Stitches first .. end - 1, counted from 0 at the design's top-left.
struct StitchRange {
  int32_t first = 0, end = 0;
  int32_t Count() const { return end - first; }
  bool Contains(int32_t stitch) const { return stitch >= first && stitch < end; }
  bool operator==(const StitchRange&) const = default;
};

struct MmPoint {
  double x = 0.0, y = 0.0;
};
struct MmRect {
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

// One chart page: its own stitches, and the ones it shows, which add before them the last
// `overlap` columns of its left neighbour and the last `overlap` rows of the page above.
// The first shown stitch lies at the chart's origin, so a page without a neighbour there
// starts with its own.
struct ChartPage {
  int32_t index = 0;                    // 0-based, row by row, left to right
  int32_t map_column = 0, map_row = 0;  // its place in the page map
  StitchRange columns, rows;
  StitchRange shown_columns, shown_rows;

  // Shown but another page's own: drawn shaded.
  bool IsRepeat(int32_t column, int32_t row) const;
  // "Columns a–b, rows c–d" of its own stitches, counted from 1.
  std::string RangeText() const;
};

// A column number above the chart or a row number left of it, at every tenth grid line,
// counted from 1 across the whole design: `at` is the text's centre, on its line and in
// the middle of its band.
struct ChartNumber {
  int32_t value = 0;
  MmPoint at;
};

class PagePlan {
 public:
  // Raises EPagePlanError for a design without stitches, a cell size outside 2..8 mm, an
  // overlap outside 0..5, a paper side outside 0..10 m, a paper without room for one own
  // stitch, or more pages than an int32_t counts.
  PagePlan(int32_t design_width, int32_t design_height, const PagePlanOptions& options);

  const PagePlanOptions& Options() const { return options_; }
  // The page as printed, turned for landscape.
  double PageWidth() const { return width_mm_; }
  double PageHeight() const { return height_mm_; }
  MmRect Header() const;
  MmPoint ChartOrigin() const;

  // Own stitches of a full page.
  int32_t StitchesAcross() const { return across_; }
  int32_t StitchesDown() const { return down_; }
  int32_t PagesAcross() const { return pages_across_; }
  int32_t PagesDown() const { return pages_down_; }
  int32_t PageCount() const { return pages_across_ * pages_down_; }
  // Raises EListError outside 0 .. PageCount() - 1.
  ChartPage Page(int32_t index) const;
  // The page whose own stitches hold (column, row) of the design.
  int32_t PageOf(int32_t column, int32_t row) const;

  // Grid line k of the design (0 .. width, the left edge of column k) on `page`.
  double LineX(const ChartPage& page, int32_t k) const;
  double LineY(const ChartPage& page, int32_t k) const;
  // The cell of design stitch (column, row), when `page` shows it.
  std::optional<MmRect> Cell(const ChartPage& page, int32_t column, int32_t row) const;
  std::vector<ChartNumber> ColumnNumbers(const ChartPage& page) const;
  std::vector<ChartNumber> RowNumbers(const ChartPage& page) const;
  // Where the design's centre column and row lie (its middle: a line for an even size, a
  // cell's middle for an odd one), when `page` shows them: an x and a y on the page.
  std::optional<double> CentreColumnX(const ChartPage& page) const;
  std::optional<double> CentreRowY(const ChartPage& page) const;

 private:
  StitchRange OwnRange(int32_t page, int32_t per_page, int32_t size) const;
  StitchRange ShownRange(const StitchRange& own) const;

  int32_t width_ = 0, height_ = 0;
  PagePlanOptions options_;
  double width_mm_ = 0.0, height_mm_ = 0.0;
  int32_t across_ = 0, down_ = 0;
  int32_t pages_across_ = 0, pages_down_ = 0;
};

// Which parts a printed pattern holds; the key's page count comes from its layout.
struct DocumentPages {
  bool cover = true;
  bool key = true;
  int32_t key_pages = 1;
  bool bw_chart = true;
  bool color_chart = true;
};

// Pages in order: cover, key, the black-and-white chart pages, the colour chart pages.
int32_t TotalPages(const DocumentPages& parts, int32_t chart_pages);
// The 1-based number of chart page `index` of a style among all pages.
int32_t ChartPageNumber(const DocumentPages& parts, int32_t chart_pages, bool color, int32_t index);
// "14 pages: cover, key, 2 × 6 chart pages".
std::string PageCountLine(const DocumentPages& parts, int32_t chart_pages);
