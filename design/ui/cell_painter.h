#pragma once
// The enlarged design as the grid shows it, for one exposed area at a time: cells of s
// pixels with one-pixel grid lines, cell (col, row) at ((col - c0)(s + 1), (row - r0)(s + 1)).
// Only the area asked for is made, never the whole enlarged design.

#include <QImage>
#include <QRect>

#include "design/design_raster.h"

struct GridView {
  int c0 = 0, r0 = 0;  // the first visible column and row
  int cell = 7;        // s, the cell's edge in pixels
  int Pitch() const { return cell + 1; }
};

inline constexpr QRgb kGridLineColor = 0xFFA0A0A0u;

// The screen colour of a cell's colour value.
constexpr QRgb ScreenColor(TColor colour) {
  return 0xFF000000u | (QRgb(RedOf(colour)) << 16) | (QRgb(GreenOf(colour)) << 8) |
         QRgb(BlueOf(colour));
}

// The pixels of `area` (viewport pixels) in an RGB32 image of the area's size; what lies past
// the design's last column or row is `outside`.
QImage PaintCellArea(const DesignRaster& raster, const GridView& view, const QRect& area,
                     QRgb outside);
