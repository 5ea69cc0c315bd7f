#pragma once
// A page of the floss key: the key's rows (symbol as on the chart, swatch, floss,
// description, stitches, skeins), then "Floss to buy" and its totals.

#include <cstdint>

class PageCanvas;
class PatternPrintout;

// Key page `key_page` (from 0), page `number` of the printout.
void PaintKeyPage(PageCanvas& canvas, const PatternPrintout& printout, int32_t key_page,
                  int32_t number);
