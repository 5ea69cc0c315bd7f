#include "design/ui/cell_painter.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kGridLine = -1, kOffDesign = -2;

// For each pixel column of the area: the design column it shows, or a grid line, or nothing.
std::vector<int> ColumnsOf(const DesignRaster& raster, const GridView& view, const QRect& area) {
  std::vector<int> columns(std::size_t(area.width()));
  const int pitch = view.Pitch();
  for (int i = 0; i < area.width(); ++i) {
    const int x = area.left() + i;
    const long long col = x < 0 ? -1 : (long long)view.c0 + x / pitch;
    if (col < 0 || col >= raster.Width())
      columns[std::size_t(i)] = kOffDesign;
    else
      columns[std::size_t(i)] = x % pitch == view.cell ? kGridLine : int(col);
  }
  return columns;
}

}  // namespace

QImage PaintCellArea(const DesignRaster& raster, const GridView& view, const QRect& area,
                     QRgb outside) {
  QImage image(area.size(), QImage::Format_RGB32);
  if (area.isEmpty()) return image;
  const std::vector<int> columns = ColumnsOf(raster, view, area);
  const int width = area.width(), pitch = view.Pitch();
  std::vector<QRgb> line(static_cast<std::size_t>(width)), cells(line.size());
  for (int i = 0; i < width; ++i)
    line[std::size_t(i)] = columns[std::size_t(i)] == kOffDesign ? outside : kGridLineColor;
  long long shown_row = -1;  // the design row `cells` holds
  for (int j = 0; j < area.height(); ++j) {
    auto* target = reinterpret_cast<QRgb*>(image.scanLine(j));
    const int y = area.top() + j;
    const long long row = y < 0 ? -1 : (long long)view.r0 + y / pitch;
    if (row < 0 || row >= raster.Height()) {
      std::fill(target, target + width, outside);
      continue;
    }
    if (y % pitch == view.cell) {
      std::copy(line.begin(), line.end(), target);
      continue;
    }
    if (row != shown_row) {
      // One scan line per design row, copied to each of its s pixel rows.
      const TColor* source = raster.Row(int(row));
      for (int i = 0; i < width; ++i) {
        const int col = columns[std::size_t(i)];
        cells[std::size_t(i)] = col >= 0 ? ScreenColor(source[col]) : line[std::size_t(i)];
      }
      shown_row = row;
    }
    std::copy(cells.begin(), cells.end(), target);
  }
  return image;
}
