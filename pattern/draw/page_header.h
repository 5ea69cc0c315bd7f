#pragma once
// The header of a key or chart page: the title, what the page shows, "Page n of N", and on
// chart pages a small page map with this page filled.

#include <QString>
#include <cstdint>
#include <optional>

class PageCanvas;
class PatternPrintout;

void PaintPageHeader(PageCanvas& canvas, const PatternPrintout& printout, int32_t number,
                     const QString& what, std::optional<int32_t> chart_page);
