#include "pattern/draw/pattern_printout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <set>

#include "pattern/draw/chart_page.h"
#include "pattern/draw/cover_page.h"
#include "pattern/draw/key_page.h"
#include "pattern/draw/page_canvas.h"

namespace {

// The room below a page's header.
double BodyHeight(const PagePlan& plan) {
  return plan.PageHeight() - 2 * kPageMarginMm - kPageHeaderMm;
}

// A symbol's ink fits within this share of the cell's side.
constexpr double kSymbolShare = 0.78;
constexpr int kMeasurePixels = 1000;  // the em a font is measured at

}  // namespace

PatternPrintout::PatternPrintout(const PrintedPattern& pattern, const PrintChoices& choices)
    : pattern_(pattern), plan_(pattern.width, pattern.height, choices.plan) {
  if (!choices.cover && !choices.key && !choices.bw_chart && !choices.color_chart)
    throw EPagePlanError("Choose at least one part to print");
  key_lines_ = KeyPages(pattern.key, BodyHeight(plan_));
  parts_ = {choices.cover, choices.key, int32_t(key_lines_.size()), choices.bw_chart,
            choices.color_chart};
  if (parts_.cover) pages_.push_back({PageKind::kCover, 0});
  if (parts_.key)
    for (int32_t k = 0; k < parts_.key_pages; ++k) pages_.push_back({PageKind::kKey, k});
  for (PageKind kind : {PageKind::kBwChart, PageKind::kColorChart}) {
    if (!(kind == PageKind::kBwChart ? parts_.bw_chart : parts_.color_chart)) continue;
    for (int32_t k = 0; k < plan_.PageCount(); ++k) pages_.push_back({kind, k});
  }
  FitSymbolSizes();
}

PrintedPage PatternPrintout::Page(int32_t index) const {
  if (index < 0 || index >= PageCount()) throw EListError("List index out of bounds");
  return pages_[size_t(index)];
}

std::string PatternPrintout::KindWord(PageKind kind) {
  switch (kind) {
    case PageKind::kCover:
      return "cover";
    case PageKind::kKey:
      return "key";
    case PageKind::kBwChart:
      return "bw";
    case PageKind::kColorChart:
      return "color";
  }
  return "";
}

std::string PatternPrintout::PageWhat(int32_t index) const {
  const PrintedPage page = Page(index);
  switch (page.kind) {
    case PageKind::kCover:
      return "";
    case PageKind::kKey:
      return std::to_string(page.part_index + 1) + " of " + std::to_string(parts_.key_pages);
    default:
      return plan_.Page(page.part_index).RangeText();
  }
}

void PatternPrintout::FitSymbolSizes() {
  // Every character a font draws in the table, so that its one size fits them all.
  std::map<QString, std::set<char32_t>> characters;
  for (const SymbolFace& face : pattern_.table_faces)
    if (face.parsed && !face.digits && face.character != 0)
      characters[face.family].insert(face.character);
  const double room_points = plan_.Options().cell_mm * kSymbolShare * 72.0 / 25.4;
  for (const auto& [family, chars] : characters) {
    QFont font(family);
    font.setPixelSize(kMeasurePixels);
    const QFontMetricsF metrics(font);
    double largest = 0;
    for (char32_t c : chars) {
      const QRectF ink = metrics.tightBoundingRect(QString::fromUcs4(&c, 1));
      largest = std::max({largest, ink.width(), ink.height()});
    }
    // Ink scales with the em: at s points the largest is largest / em * s points.
    symbol_sizes_[family] = largest > 0 ? room_points * kMeasurePixels / largest : room_points;
  }
}

double PatternPrintout::SymbolPointSize(const QString& family) const {
  const auto it = symbol_sizes_.find(family);
  return it == symbol_sizes_.end() ? plan_.Options().cell_mm * kSymbolShare * 72.0 / 25.4
                                   : it->second;
}

void PatternPrintout::Paint(QPainter& painter, int32_t index, double dots_per_mm) const {
  const PrintedPage page = Page(index);
  PageCanvas canvas(painter, dots_per_mm);
  painter.fillRect(canvas.Rect(0, 0, plan_.PageWidth(), plan_.PageHeight()), Qt::white);
  switch (page.kind) {
    case PageKind::kCover:
      PaintCoverPage(canvas, *this);
      break;
    case PageKind::kKey:
      PaintKeyPage(canvas, *this, page.part_index, index + 1);
      break;
    case PageKind::kBwChart:
    case PageKind::kColorChart:
      PaintChartPage(canvas, *this, plan_.Page(page.part_index), page.kind == PageKind::kColorChart,
                     index + 1);
      break;
  }
}
