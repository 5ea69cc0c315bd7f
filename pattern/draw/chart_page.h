#pragma once
// A chart page: the grid of one page of the plan, black and white (black symbols on white)
// or in colour (floss-coloured cells, symbols in black or white), with its tenth lines,
// numbers, centre marks and header.

#include <cstdint>

#include "pattern/page_plan.h"

class PageCanvas;
class PatternPrintout;

void PaintChartPage(PageCanvas& canvas, const PatternPrintout& printout, const ChartPage& page,
                    bool color, int32_t number);
