#include "pattern/draw/stitch_pattern.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "composition/composition.h"
#include "pattern/draw/symbol_drawing.h"

int ClampedCellEdge(int cell_size) {
  return std::clamp(cell_size, kSmallestCell, kLargestCell);
}

QSize PatternSize(int columns, int rows, int edge) {
  return {std::max(columns, 0) * edge + 1, std::max(rows, 0) * edge + 1};
}

QRect CellsIn(const QRect& pixels, int columns, int rows, int edge) {
  if (columns <= 0 || rows <= 0 || pixels.isEmpty()) return {};
  // A line pixel at k * e belongs to the cells on both sides of it.
  const int left = std::max((pixels.left() - 1) / edge, 0);
  const int top = std::max((pixels.top() - 1) / edge, 0);
  const int right = std::min(pixels.right() / edge, columns - 1);
  const int bottom = std::min(pixels.bottom() / edge, rows - 1);
  if (left > right || top > bottom) return {};
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

StitchPattern::StitchPattern(const TpunCompo& composition, SymbolDrawing& symbols, int edge,
                             QColor transparent)
    : composition_(composition), symbols_(symbols), edge_(edge), transparent_(transparent) {}

void StitchPattern::PaintAll(QPainter& painter) {
  Paint(painter, QRect(0, 0, composition_.Width(), composition_.Height()));
}

void StitchPattern::Paint(QPainter& painter, QRect cells) {
  // Read now: a rotation or a resize may have changed the picture since the last paint.
  cells &= QRect(0, 0, composition_.Width(), composition_.Height());
  if (cells.isEmpty()) return;
  const QRect pixels(cells.left() * edge_, cells.top() * edge_, cells.width() * edge_ + 1,
                     cells.height() * edge_ + 1);
  painter.fillRect(pixels, QColor::fromRgb(kPatternBase));
  PaintCells(painter, cells);
  PaintLines(painter, cells);
}

void StitchPattern::PaintCells(QPainter& painter, const QRect& cells) {
  const TPicture& picture = composition_.SourcePicture();
  const TpunPal& palette = composition_.Palette();
  const uint32_t colors = uint32_t(palette.Count());
  if (colors == 0) return;  // nothing to map on: every cell stays blank
  const bool transparency = composition_.TransparencyOn();
  const int32_t transparent = composition_.TransparentColor();
  const uint8_t* data = picture.Data();
  const size_t count = size_t(cells.width());
  std::vector<TColor> row_colors(count);
  std::vector<int32_t> indices(count);
  for (int row = cells.top(); row <= cells.bottom(); ++row) {
    for (size_t i = 0; i < count; ++i)
      row_colors[i] = PixelAt(data, PixelOffset(picture.Width(), picture.Height(),
                                                uint32_t(cells.left()) + uint32_t(i), row));
    palette.NearestClrs(row_colors.data(), count, indices.data());
    const int y = row * edge_;
    for (size_t i = 0; i < count; ++i) {
      const int x = (cells.left() + int(i)) * edge_;
      if (transparency && indices[i] == transparent)
        painter.fillRect(x, y, edge_, edge_, transparent_);
      else
        symbols_.DrawColourSymbol(uint32_t(indices[i]), x, y, edge_, painter, colors);
    }
  }
}

void StitchPattern::PaintLines(QPainter& painter, const QRect& cells) {
  const int left = cells.left() * edge_, top = cells.top() * edge_;
  const int width = cells.width() * edge_ + 1, height = cells.height() * edge_ + 1;
  // The tenth lines last, so that they run unbroken across the others.
  for (const bool tenth : {false, true}) {
    const QColor color = QColor::fromRgb(tenth ? kPatternTenthLine : kPatternLine);
    for (int k = cells.left(); k <= cells.right() + 1; ++k)
      if ((k % 10 == 0) == tenth) painter.fillRect(k * edge_, top, 1, height, color);
    for (int k = cells.top(); k <= cells.bottom() + 1; ++k)
      if ((k % 10 == 0) == tenth) painter.fillRect(left, k * edge_, width, 1, color);
  }
}
