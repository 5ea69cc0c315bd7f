#include "pattern/draw/page_header.h"

#include "pattern/draw/page_canvas.h"
#include "pattern/draw/page_map.h"
#include "pattern/draw/pattern_printout.h"

namespace {

constexpr double kMapWidthMm = 40.0;
constexpr double kMapPadMm = 1.0;

}  // namespace

void PaintPageHeader(PageCanvas& canvas, const PatternPrintout& printout, int32_t number,
                     const QString& what, std::optional<int32_t> chart_page) {
  const MmRect header = printout.Plan().Header();
  double right = header.x + header.width;
  if (chart_page) {
    const MmRect box{right - kMapWidthMm, header.y, kMapWidthMm, header.height - 2 * kMapPadMm};
    right = PaintPageMap(canvas, printout.Plan(), box, true, chart_page).x - 3.0;
  }
  const double half = header.height / 2 - kMapPadMm;
  const QString page = QString("Page %1 of %2").arg(number).arg(printout.PageCount());
  const QFont page_font = PageFont(9);
  const double page_width = canvas.TextWidth(page, page_font) + 0.5;
  canvas.Text({right - page_width, header.y, page_width, half}, page, page_font,
              Qt::AlignRight | Qt::AlignVCenter);
  const double title_width = right - page_width - 4.0 - header.x;
  canvas.Text({header.x, header.y, title_width, half},
              QString::fromStdString(printout.Pattern().title), PageFont(11, true),
              Qt::AlignLeft | Qt::AlignVCenter);
  canvas.Text({header.x, header.y + half, right - header.x, half}, what, PageFont(8),
              Qt::AlignLeft | Qt::AlignVCenter);
}
