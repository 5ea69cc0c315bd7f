#pragma once
// A grid of square cells with one-pixel grid lines that scrolls by whole rows and paints
// only the cells in view, each through a callback: the character table's symbol grid and
// its character picker.

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <functional>

class CellGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // Paints cell (column, row) into `cell` (viewport coordinates, grid lines excluded).
  using CellPainter =
      std::function<void(QPainter& painter, int column, int row, const QRect& cell)>;

  CellGrid(int columns, int edge, int visible_rows, QWidget* parent = nullptr);

  void SetCellPainter(CellPainter painter) { painter_ = std::move(painter); }
  int ColumnCount() const { return columns_; }
  int RowCount() const { return rows_; }
  void SetRowCount(int rows);
  int Edge() const { return edge_; }

  // The cell's square in viewport coordinates (it may lie outside the view).
  QRect CellRect(int column, int row) const;
  // The cell under a viewport point; false on a grid line or past the cells.
  bool CellAt(const QPoint& point, int* column, int* row) const;
  // Scrolls so that `row` is in view.
  void ScrollToRow(int row);
  int TopRow() const;
  void Repaint() { viewport()->update(); }

 signals:
  void cellClicked(int column, int row);
  void cellDoubleClicked(int column, int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int Pitch() const { return edge_ + 1; }
  int VisibleRows() const;
  void UpdateScrollRange();

  int columns_;
  int edge_;
  int rows_ = 1;
  CellPainter painter_;
};
