#pragma once
// A palette shown as swatches: 17 columns of 15 x 15 cells with grid lines, one row more
// than the full rows (a count that is a multiple of 17 leaves an empty row), scrolled
// vertically when they don't fit. Cell (x, y) shows entry y * 17 + x.

#include <QAbstractScrollArea>

class TpunPal;

class SwatchGrid : public QAbstractScrollArea {
  Q_OBJECT
 public:
  static constexpr int kColumns = 17;
  static constexpr int kCell = 15;
  static constexpr int kLine = 1;  // grid line width, right and below each cell

  explicit SwatchGrid(QWidget* parent = nullptr);

  // The palette shown (not owned); nullptr shows an empty grid.
  void SetPalette(const TpunPal* palette);
  const TpunPal* Palette() const { return palette_; }
  // Takes the palette's count again (row count, scroll range) and repaints.
  void Refresh();
  int Rows() const;
  // The index of the selected cell; it may lie past the palette.
  int Selected() const { return selected_; }
  void SetSelected(int index);
  // The index of the cell at a viewport position, -1 outside the columns.
  int IndexAt(QPoint position) const;
  // The viewport rectangle of cell `index`'s swatch (inside its grid lines).
  QRect CellRect(int index) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void clicked(int index);
  void doubleClicked(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  static constexpr int kPitch = kCell + kLine;
  void UpdateScrollRange();
  void PaintCells(QPainter& painter, const QRect& area) const;

  const TpunPal* palette_ = nullptr;
  int selected_ = 0;
};
