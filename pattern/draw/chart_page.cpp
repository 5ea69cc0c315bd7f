#include "pattern/draw/chart_page.h"

#include <QPolygonF>
#include <algorithm>

#include "pattern/draw/chart_symbols.h"
#include "pattern/draw/page_canvas.h"
#include "pattern/draw/page_header.h"
#include "pattern/draw/pattern_printout.h"

namespace {

constexpr double kThinLineMm = 0.1;
constexpr double kHeavyLineMm = 0.35;
const QColor kThinLine(128, 128, 128);
const QColor kRepeatShade(217, 217, 217);
constexpr double kNumberPoints = 6.0;
constexpr double kTriangleMm = 1.6;
constexpr double kNumberGapMm = 2.0;  // between a number and the chart

// A repeated cell's colour: its floss colour under a light grey veil.
QColor Shaded(const QColor& c) {
  return QColor((c.red() + kRepeatShade.red()) / 2, (c.green() + kRepeatShade.green()) / 2,
                (c.blue() + kRepeatShade.blue()) / 2);
}

class ChartPainter {
 public:
  ChartPainter(PageCanvas& canvas, const PatternPrintout& printout, const ChartPage& page,
               bool color)
      : canvas_(canvas),
        plan_(printout.Plan()),
        pattern_(printout.Pattern()),
        page_(page),
        color_(color),
        symbols_(printout, canvas.Dots(1.0)) {}

  void Paint() {
    FillCells();
    GridLines(false);
    Symbols();
    GridLines(true);
    Numbers();
    CentreMarks();
  }

 private:
  QColor Background(int32_t column, int32_t row, int32_t cell) const {
    const bool repeat = page_.IsRepeat(column, row);
    if (cell == PrintedPattern::kNotStitched) return Qt::white;
    if (!color_) return repeat ? kRepeatShade : QColor(Qt::white);
    const QColor floss = FlossColor(pattern_.floss[size_t(cell)].color);
    return repeat ? Shaded(floss) : floss;
  }

  // Cells of one background side by side are filled as one rectangle.
  void FillCells() {
    for (int32_t r = page_.shown_rows.first; r < page_.shown_rows.end; ++r) {
      int32_t c = page_.shown_columns.first;
      while (c < page_.shown_columns.end) {
        const QColor background = Background(c, r, pattern_.Cell(c, r));
        int32_t end = c + 1;
        while (end < page_.shown_columns.end &&
               Background(end, r, pattern_.Cell(end, r)) == background)
          ++end;
        if (background != Qt::white)
          canvas_.Fill({plan_.LineX(page_, c), plan_.LineY(page_, r),
                        plan_.LineX(page_, end) - plan_.LineX(page_, c),
                        plan_.LineY(page_, r + 1) - plan_.LineY(page_, r)},
                       background);
        c = end;
      }
    }
  }

  bool Heavy(int32_t k, int32_t size) const { return k % 10 == 0 || k == size; }

  void GridLines(bool heavy) {
    const double top = plan_.LineY(page_, page_.shown_rows.first);
    const double bottom = plan_.LineY(page_, page_.shown_rows.end);
    const double left = plan_.LineX(page_, page_.shown_columns.first);
    const double right = plan_.LineX(page_, page_.shown_columns.end);
    const double width = heavy ? kHeavyLineMm : kThinLineMm;
    const QColor ink = heavy ? QColor(Qt::black) : kThinLine;
    for (int32_t k = page_.shown_columns.first; k <= page_.shown_columns.end; ++k)
      if (Heavy(k, pattern_.width) == heavy)
        canvas_.Line(plan_.LineX(page_, k), top, plan_.LineX(page_, k), bottom, width, ink);
    for (int32_t k = page_.shown_rows.first; k <= page_.shown_rows.end; ++k)
      if (Heavy(k, pattern_.height) == heavy)
        canvas_.Line(left, plan_.LineY(page_, k), right, plan_.LineY(page_, k), width, ink);
  }

  void Symbols() {
    QPainter& painter = canvas_.Painter();
    for (int32_t r = page_.shown_rows.first; r < page_.shown_rows.end; ++r)
      for (int32_t c = page_.shown_columns.first; c < page_.shown_columns.end; ++c) {
        const int32_t cell = pattern_.Cell(c, r);
        if (cell == PrintedPattern::kNotStitched) continue;
        const QColor ink = color_ ? InkOn(Background(c, r, cell)) : QColor(Qt::black);
        symbols_.Draw(painter, cell, canvas_.Rect(*plan_.Cell(page_, c, r)), ink);
      }
  }

  // Numbers keep to the band's outer side, clear of the centre marks at the chart's edge.
  void Numbers() {
    const QFont font = PageFont(kNumberPoints);
    const MmPoint origin = plan_.ChartOrigin();
    const double band = kNumberBandMm - kNumberGapMm;
    for (const ChartNumber& n : plan_.ColumnNumbers(page_))
      canvas_.Text({n.at.x - 5, origin.y - kNumberBandMm, 10, band}, QString::number(n.value), font,
                   Qt::AlignHCenter | Qt::AlignBottom);
    for (const ChartNumber& n : plan_.RowNumbers(page_))
      canvas_.Text({origin.x - kNumberBandMm, n.at.y - 3, band, 6}, QString::number(n.value), font,
                   Qt::AlignRight | Qt::AlignVCenter);
  }

  // Small black triangles outside the chart, pointing at the centre column and row.
  void CentreMarks() {
    QPainter& painter = canvas_.Painter();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const MmPoint origin = plan_.ChartOrigin();
    const double h = kTriangleMm, w = kTriangleMm * 0.6;
    if (const auto x = plan_.CentreColumnX(page_))
      painter.drawPolygon(
          QPolygonF({canvas_.At(*x - w, origin.y - h - 0.2), canvas_.At(*x + w, origin.y - h - 0.2),
                     canvas_.At(*x, origin.y - 0.2)}));
    if (const auto y = plan_.CentreRowY(page_))
      painter.drawPolygon(
          QPolygonF({canvas_.At(origin.x - h - 0.2, *y - w), canvas_.At(origin.x - h - 0.2, *y + w),
                     canvas_.At(origin.x - 0.2, *y)}));
    painter.setBrush(Qt::NoBrush);
  }

  PageCanvas& canvas_;
  const PagePlan& plan_;
  const PrintedPattern& pattern_;
  const ChartPage& page_;
  bool color_;
  ChartSymbols symbols_;
};

}  // namespace

void PaintChartPage(PageCanvas& canvas, const PatternPrintout& printout, const ChartPage& page,
                    bool color, int32_t number) {
  const QString what = QString::fromStdString(page.RangeText()) +
                       (color ? "  \u00b7  color chart" : "  \u00b7  black and white chart");
  PaintPageHeader(canvas, printout, number, what, page.index);
  ChartPainter(canvas, printout, page, color).Paint();
}
