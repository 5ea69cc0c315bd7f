#pragma once
// The design cut into its chart pages, drawn small: on the cover with each page's number,
// in a chart page's header with that page filled.

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "pattern/page_plan.h"

class PageCanvas;

// The map fitted into `box` (keeping the design's proportions, at its top-right when
// `right` else centred), each page's share as its own stitches. `label` gives a page's
// text (none when empty); `filled` the page shaded dark. Returns the rectangle it took.
MmRect PaintPageMap(PageCanvas& canvas, const PagePlan& plan, const MmRect& box, bool right,
                    std::optional<int32_t> filled,
                    const std::function<QString(int32_t page)>& label = {});
