#include "pattern/draw/chart_page.h"

#include "pattern/draw/page_canvas.h"
#include "pattern/draw/pattern_printout.h"

void PaintChartPage(PageCanvas& canvas, const PatternPrintout& printout, const ChartPage& page,
                    bool color, int32_t number) {
  (void)page;
  (void)color;
  canvas.Text({10, 10, 190, 12}, QString("Page %1 of %2").arg(number).arg(printout.PageCount()),
              PageFont(10), Qt::AlignRight | Qt::AlignVCenter);
}
