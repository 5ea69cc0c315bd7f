#include "pattern/page_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

// Divisions like 184 / 2.3 land a hair below a whole number in binary.
constexpr double kFitSlack = 1e-9;

int32_t WholeCells(double space_mm, double cell_mm) {
  return static_cast<int32_t>(std::floor(space_mm / cell_mm + kFitSlack));
}

int32_t OwnStitches(int32_t fit, int32_t overlap) {
  const int32_t own = fit - overlap;
  return own >= 10 ? own / 10 * 10 : own;
}

int32_t PagesFor(int32_t stitches, int32_t per_page) {
  return static_cast<int32_t>((int64_t(stitches) + per_page - 1) / per_page);
}

void CheckOptions(int32_t width, int32_t height, const PagePlanOptions& options) {
  if (width < 1 || height < 1) throw EPagePlanError("The design has no stitches to print");
  // Written to hold for NaN too.
  if (!(options.cell_mm >= kMinCellMm && options.cell_mm <= kMaxCellMm))
    throw EPagePlanError("The cell size must be 2.0 to 8.0 mm");
  if (options.overlap < 0 || options.overlap > kMaxOverlap)
    throw EPagePlanError("The overlap must be 0 to 5 stitches");
  // Up to a 10 m roll, so cell counts stay well inside int32_t.
  auto on_paper = [](double mm) { return mm > 0.0 && mm <= 10000.0; };
  if (!on_paper(options.paper.width_mm) || !on_paper(options.paper.height_mm))
    throw EPagePlanError("The paper size is out of range");
}

constexpr const char* kEnDash = "\u2013";

}  // namespace

Paper PaperOf(PaperSize size) {
  switch (size) {
    case PaperSize::Letter:
      return {215.9, 279.4};
    case PaperSize::A3:
      return {297.0, 420.0};
    case PaperSize::A4:
      break;
  }
  return {210.0, 297.0};
}

bool ChartPage::IsRepeat(int32_t column, int32_t row) const {
  return shown_columns.Contains(column) && shown_rows.Contains(row) &&
         !(columns.Contains(column) && rows.Contains(row));
}

std::string ChartPage::RangeText() const {
  return "Columns " + std::to_string(columns.first + 1) + kEnDash + std::to_string(columns.end) +
         ", rows " + std::to_string(rows.first + 1) + kEnDash + std::to_string(rows.end);
}

PagePlan::PagePlan(int32_t design_width, int32_t design_height, const PagePlanOptions& options)
    : width_(design_width), height_(design_height), options_(options) {
  CheckOptions(design_width, design_height, options);
  width_mm_ = options.paper.width_mm;
  height_mm_ = options.paper.height_mm;
  if (options.landscape) std::swap(width_mm_, height_mm_);
  const double space_across = width_mm_ - 2 * kPageMarginMm - kNumberBandMm;
  const double space_down = height_mm_ - 2 * kPageMarginMm - kPageHeaderMm - kNumberBandMm;
  across_ = OwnStitches(WholeCells(space_across, options.cell_mm), options.overlap);
  down_ = OwnStitches(WholeCells(space_down, options.cell_mm), options.overlap);
  if (space_across <= 0.0 || space_down <= 0.0 || across_ < 1 || down_ < 1)
    throw EPagePlanError("The paper is too small for this cell size and overlap");
  pages_across_ = PagesFor(width_, across_);
  pages_down_ = PagesFor(height_, down_);
  if (int64_t(pages_across_) * pages_down_ > INT32_MAX)
    throw EPagePlanError("The design needs too many pages");
}

MmRect PagePlan::Header() const {
  return {kPageMarginMm, kPageMarginMm, width_mm_ - 2 * kPageMarginMm, kPageHeaderMm};
}

MmPoint PagePlan::ChartOrigin() const {
  return {kPageMarginMm + kNumberBandMm, kPageMarginMm + kPageHeaderMm + kNumberBandMm};
}

StitchRange PagePlan::OwnRange(int32_t page, int32_t per_page, int32_t size) const {
  const int32_t first = page * per_page;
  return {first, std::min(size, first + per_page)};
}

StitchRange PagePlan::ShownRange(const StitchRange& own) const {
  return {std::max(0, own.first - options_.overlap), own.end};
}

ChartPage PagePlan::Page(int32_t index) const {
  if (index < 0 || index >= PageCount()) throw EListError("No chart page " + std::to_string(index));
  ChartPage page;
  page.index = index;
  page.map_column = index % pages_across_;
  page.map_row = index / pages_across_;
  page.columns = OwnRange(page.map_column, across_, width_);
  page.rows = OwnRange(page.map_row, down_, height_);
  page.shown_columns = ShownRange(page.columns);
  page.shown_rows = ShownRange(page.rows);
  return page;
}

int32_t PagePlan::PageOf(int32_t column, int32_t row) const {
  if (column < 0 || column >= width_ || row < 0 || row >= height_)
    throw EListError("No stitch " + std::to_string(column) + ", " + std::to_string(row));
  return row / down_ * pages_across_ + column / across_;
}

double PagePlan::LineX(const ChartPage& page, int32_t k) const {
  return ChartOrigin().x + (k - page.shown_columns.first) * options_.cell_mm;
}

double PagePlan::LineY(const ChartPage& page, int32_t k) const {
  return ChartOrigin().y + (k - page.shown_rows.first) * options_.cell_mm;
}

std::optional<MmRect> PagePlan::Cell(const ChartPage& page, int32_t column, int32_t row) const {
  if (!page.shown_columns.Contains(column) || !page.shown_rows.Contains(row)) return std::nullopt;
  return MmRect{LineX(page, column), LineY(page, row), options_.cell_mm, options_.cell_mm};
}

std::vector<ChartNumber> PagePlan::ColumnNumbers(const ChartPage& page) const {
  std::vector<ChartNumber> numbers;
  const double y = ChartOrigin().y - kNumberBandMm / 2;
  for (int32_t k = (page.shown_columns.first + 9) / 10 * 10; k <= page.shown_columns.end; k += 10)
    if (k > 0) numbers.push_back({k, {LineX(page, k), y}});
  return numbers;
}

std::vector<ChartNumber> PagePlan::RowNumbers(const ChartPage& page) const {
  std::vector<ChartNumber> numbers;
  const double x = ChartOrigin().x - kNumberBandMm / 2;
  for (int32_t k = (page.shown_rows.first + 9) / 10 * 10; k <= page.shown_rows.end; k += 10)
    if (k > 0) numbers.push_back({k, {x, LineY(page, k)}});
  return numbers;
}

std::optional<double> PagePlan::CentreColumnX(const ChartPage& page) const {
  const double centre = width_ / 2.0;
  if (centre < page.shown_columns.first || centre > page.shown_columns.end) return std::nullopt;
  return ChartOrigin().x + (centre - page.shown_columns.first) * options_.cell_mm;
}

std::optional<double> PagePlan::CentreRowY(const ChartPage& page) const {
  const double centre = height_ / 2.0;
  if (centre < page.shown_rows.first || centre > page.shown_rows.end) return std::nullopt;
  return ChartOrigin().y + (centre - page.shown_rows.first) * options_.cell_mm;
}

namespace {

int32_t KeyPages(const DocumentPages& parts) {
  return parts.key ? std::max(parts.key_pages, 1) : 0;
}

int32_t ChartStyles(const DocumentPages& parts) {
  return (parts.bw_chart ? 1 : 0) + (parts.color_chart ? 1 : 0);
}

std::string Counted(int32_t count, const std::string& what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

int32_t TotalPages(const DocumentPages& parts, int32_t chart_pages) {
  return (parts.cover ? 1 : 0) + KeyPages(parts) + ChartStyles(parts) * chart_pages;
}

int32_t ChartPageNumber(const DocumentPages& parts, int32_t chart_pages, bool color,
                        int32_t index) {
  const int32_t before =
      (parts.cover ? 1 : 0) + KeyPages(parts) + (color && parts.bw_chart ? chart_pages : 0);
  return before + index + 1;
}

std::string PageCountLine(const DocumentPages& parts, int32_t chart_pages) {
  std::vector<std::string> items;
  if (parts.cover) items.push_back("cover");
  if (parts.key)
    items.push_back(KeyPages(parts) == 1 ? "key" : Counted(KeyPages(parts), "key page"));
  if (ChartStyles(parts) == 2)
    items.push_back("2 \u00d7 " + Counted(chart_pages, "chart page"));
  else if (ChartStyles(parts) == 1)
    items.push_back(Counted(chart_pages, "chart page"));
  std::string line = Counted(TotalPages(parts, chart_pages), "page");
  for (size_t i = 0; i < items.size(); ++i) line += (i == 0 ? ": " : ", ") + items[i];
  return line;
}
