#pragma once
// Draws the colour chart and its legend into images, pixel for pixel where the geometry
// says: the design window's three steps and what puntel-cli's "design" writes.

#include <QFont>
#include <QImage>

#include "base/progress.h"
#include "pattern/design_geometry.h"

class TpunPal;

// The chart of `picture` (one cell per pixel) at cell size `cell`.
ChartGeometry ChartOf(const QImage& picture, int64_t cell);
// A white RGB32 image of the chart's size. Raises EDesignTooLarge over the size limit.
QImage BlankChart(const ChartGeometry& chart);
// A white RGB32 image, its dots per metre those of a 96-dpi device, so text measures the
// same everywhere.
QImage BlankImage(int64_t width, int64_t height);

// Every vertical, then every horizontal grid line, reported as "Drawing X axis grid : 37%"
// and "Drawing Y axis grid : ..." line by line, the progress cleared after each axis.
void DrawChartGrid(QImage& image, const ChartGeometry& chart, const ProgressHandler& progress);
// Every cell filled with its pixel's colour, column by column, reported as "Drawing image :
// ..." after each column, the progress cleared at the end. `picture` is columns x rows.
void DrawChartPicture(QImage& image, const ChartGeometry& chart, const QImage& picture,
                      const ProgressHandler& progress);

// The legend layout for `count` colours written in `font` on an image `image_width` wide.
LegendGeometry LegendLayoutOf(const QFont& font, int64_t image_width, int64_t count);
// The legend of the palette's colours: on white, each a swatch with a black outline filled
// with its colour and its name beside it, reported as "Printing colors : ..." after each.
// Raises EDesignTooLarge for a layout over the size limit.
QImage DrawLegend(const LegendGeometry& legend, const QFont& font, const TpunPal& palette,
                  const ProgressHandler& progress);

// Writes an image as a 24-bit bitmap in the composition's layout (bottom-up rows), the
// file replaced only once complete. Raises EInOutError "Cannot create file <file>".
void SaveDesignBitmap(const std::string& file_name, const QImage& image);
// Raises EInOutError "Cannot create file <file>" for an existing file SaveDesignBitmap
// would refuse to replace (one without write permission, which stays read-only for root
// too), so the chart and its legend can be saved both or neither.
void RefuseUnwritable(const std::string& file_name);
// Where the legend of a chart saved as `chart_file` goes: "-legend" before its ".bmp"
// (letter case kept), or "-legend.bmp" added when it has none.
std::string LegendFileName(const std::string& chart_file);
