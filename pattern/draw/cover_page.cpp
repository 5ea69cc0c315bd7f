#include "pattern/draw/cover_page.h"

#include "pattern/draw/page_canvas.h"
#include "pattern/draw/pattern_printout.h"

void PaintCoverPage(PageCanvas& canvas, const PatternPrintout& printout) {
  canvas.Text({10, 10, 190, 12}, QString::fromStdString(printout.Pattern().title),
              PageFont(20, true), Qt::AlignLeft | Qt::AlignVCenter);
}
