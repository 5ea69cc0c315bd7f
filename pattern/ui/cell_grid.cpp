#include "pattern/ui/cell_grid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

CellGrid::CellGrid(int columns, int edge, int visible_rows, QWidget* parent)
    : QAbstractScrollArea(parent), columns_(columns), edge_(edge) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(1);
  const int frame = 2 * frameWidth();
  setFixedSize(columns * Pitch() + verticalScrollBar()->sizeHint().width() + frame,
               visible_rows * Pitch() + frame);
  UpdateScrollRange();
}

void CellGrid::SetRowCount(int rows) {
  rows_ = std::max(rows, 0);
  UpdateScrollRange();
  Repaint();
}

int CellGrid::VisibleRows() const {
  return std::max(1, viewport()->height() / Pitch());
}

int CellGrid::TopRow() const {
  return verticalScrollBar()->value();
}

void CellGrid::UpdateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, rows_ - VisibleRows()));
  bar->setPageStep(VisibleRows());
}

void CellGrid::ScrollToRow(int row) {
  if (row < TopRow())
    verticalScrollBar()->setValue(row);
  else if (row >= TopRow() + VisibleRows())
    verticalScrollBar()->setValue(row - VisibleRows() + 1);
}

QRect CellGrid::CellRect(int column, int row) const {
  return QRect(column * Pitch(), (row - TopRow()) * Pitch(), edge_, edge_);
}

bool CellGrid::CellAt(const QPoint& point, int* column, int* row) const {
  if (point.x() < 0 || point.y() < 0) return false;
  const int c = point.x() / Pitch();
  const int r = point.y() / Pitch() + TopRow();
  if (c >= columns_ || r >= rows_) return false;
  if (point.x() % Pitch() == edge_ || point.y() % Pitch() == edge_) return false;
  *column = c;
  *row = r;
  return true;
}

void CellGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect area = event->rect();
  painter.fillRect(area, palette().color(QPalette::Base));
  const QColor line = palette().color(QPalette::Button);
  const int last_row = std::min(rows_, TopRow() + viewport()->height() / Pitch() + 1);
  for (int row = TopRow(); row < last_row; ++row) {
    for (int column = 0; column < columns_; ++column) {
      const QRect cell = CellRect(column, row);
      if (!cell.adjusted(0, 0, 1, 1).intersects(area)) continue;
      painter.fillRect(QRect(cell.right() + 1, cell.top(), 1, Pitch()), line);
      painter.fillRect(QRect(cell.left(), cell.bottom() + 1, Pitch(), 1), line);
      if (painter_) {
        painter.save();
        painter.setClipRect(cell);
        painter_(painter, column, row, cell);
        painter.restore();
      }
    }
  }
}

void CellGrid::mousePressEvent(QMouseEvent* event) {
  int column = 0, row = 0;
  if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), &column, &row))
    emit cellClicked(column, row);
  QAbstractScrollArea::mousePressEvent(event);
}

void CellGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  int column = 0, row = 0;
  if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), &column, &row))
    emit cellDoubleClicked(column, row);
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CellGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}
