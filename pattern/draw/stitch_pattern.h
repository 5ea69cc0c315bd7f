#pragma once
// The stitch pattern as the grid window and puntel-cli grid draw it.
//
// Layout, for a cell edge e: grid lines are one pixel wide at x = k * e (k = 0 .. columns)
// and y = k * e (k = 0 .. rows); the pattern is columns * e + 1 by rows * e + 1 pixels.
// Cell (col, row) is the square of e pixels whose top-left is (col * e, row * e): its
// symbol is drawn there and the lines then go over the square's first column and row,
// which a symbol leaves white (its character starts one pixel in). Every tenth line,
// counted from the top-left stitch (k = 0, 10, 20 ...), is darker.

#include <QColor>
#include <QRect>
#include <QSize>
#include <cstdint>

class QPainter;
class SymbolDrawing;
class TpunCompo;

// The colours of the lines, and of the cells left without a symbol.
inline constexpr QRgb kPatternBase = 0xFFFFFFFF;
inline constexpr QRgb kPatternLine = 0xFFC0C0C0;
inline constexpr QRgb kPatternTenthLine = 0xFF404040;

// The cell edges the windows draw with: the setting can hold any 16-bit value.
inline constexpr int kSmallestCell = 8, kLargestCell = 64;
int ClampedCellEdge(int cell_size);

// Pixels of a pattern of `columns` by `rows` cells.
QSize PatternSize(int columns, int rows, int edge);
// The cells (as columns and rows) a pixel rectangle touches, within columns x rows.
QRect CellsIn(const QRect& pixels, int columns, int rows, int edge);

class StitchPattern {
 public:
  // `transparent` fills the cells of the transparent colour while transparency is on.
  StitchPattern(const TpunCompo& composition, SymbolDrawing& symbols, int edge, QColor transparent);

  // Paints the cells of `cells` (columns and rows, clipped to the composition's picture as
  // it is now) and the grid lines around them.
  void Paint(QPainter& painter, QRect cells);
  // The whole pattern, as a pixel rectangle of PatternSize.
  void PaintAll(QPainter& painter);

 private:
  void PaintCells(QPainter& painter, const QRect& cells);
  void PaintLines(QPainter& painter, const QRect& cells);

  const TpunCompo& composition_;
  SymbolDrawing& symbols_;
  int edge_;
  QColor transparent_;
};
