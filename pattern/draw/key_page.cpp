#include "pattern/draw/key_page.h"

#include "pattern/draw/page_canvas.h"
#include "pattern/draw/pattern_printout.h"

void PaintKeyPage(PageCanvas& canvas, const PatternPrintout& printout, int32_t key_page,
                  int32_t number) {
  (void)key_page;
  canvas.Text({10, 10, 190, 12}, QString("Page %1 of %2").arg(number).arg(printout.PageCount()),
              PageFont(10), Qt::AlignRight | Qt::AlignVCenter);
}
