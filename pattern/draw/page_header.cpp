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
  canvas.Text({header.x, header.y, right - header.x, half},
              QString::fromStdString(printout.Pattern().title), PageFont(11, true),
              Qt::AlignLeft | Qt::AlignVCenter);
  canvas.Text({header.x, header.y + half, right - header.x, half}, what, PageFont(8),
              Qt::AlignLeft | Qt::AlignVCenter);
  canvas.Text({header.x, header.y, right - header.x, half},
              QString("Page %1 of %2").arg(number).arg(printout.PageCount()), PageFont(9),
              Qt::AlignRight | Qt::AlignVCenter);
}
