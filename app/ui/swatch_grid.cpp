#include "app/ui/swatch_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "palette/floss_palette.h"

SwatchGrid::SwatchGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  verticalScrollBar()->setSingleStep(kPitch);
  viewport()->setAutoFillBackground(true);
  viewport()->setBackgroundRole(QPalette::Base);
}

void SwatchGrid::SetPalette(const TpunPal* palette) {
  palette_ = palette;
  Refresh();
}

void SwatchGrid::Refresh() {
  UpdateScrollRange();
  viewport()->update();
}

int SwatchGrid::Rows() const {
  const int count = palette_ ? palette_->Count() : 0;
  return count / kColumns + 1;
}

void SwatchGrid::SetSelected(int index) {
  selected_ = std::max(0, index);
  viewport()->update();
}

int SwatchGrid::IndexAt(QPoint position) const {
  if (position.x() < 0 || position.y() < 0) return -1;
  const int column = position.x() / kPitch;
  const int row = (position.y() + verticalScrollBar()->value()) / kPitch;
  if (column >= kColumns || row >= Rows()) return -1;
  return row * kColumns + column;
}

QRect SwatchGrid::CellRect(int index) const {
  const int column = index % kColumns;
  const int row = index / kColumns;
  return QRect(column * kPitch, row * kPitch - verticalScrollBar()->value(), kCell, kCell);
}

QSize SwatchGrid::sizeHint() const {
  const int frame = 2 * frameWidth();
  const int bar = verticalScrollBar()->sizeHint().width();
  return QSize(kColumns * kPitch + frame + bar, 8 * kPitch + frame);
}

QSize SwatchGrid::minimumSizeHint() const {
  const int frame = 2 * frameWidth();
  const int bar = verticalScrollBar()->sizeHint().width();
  return QSize(kColumns * kPitch + frame + bar, 2 * kPitch + frame);
}

void SwatchGrid::UpdateScrollRange() {
  const int height = Rows() * kPitch;
  const int visible = viewport()->height();
  verticalScrollBar()->setPageStep(std::max(kPitch, visible));
  verticalScrollBar()->setRange(0, std::max(0, height - visible));
}

void SwatchGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

// Only the rows crossing the exposed area are drawn, so a palette of any size paints at
// once; cells past the palette keep the background.
void SwatchGrid::PaintCells(QPainter& painter, const QRect& area) const {
  const int offset = verticalScrollBar()->value();
  const int count = palette_ ? palette_->Count() : 0;
  const int first_row = std::max(0, (area.top() + offset) / kPitch);
  const int last_row = std::min(Rows() - 1, (area.bottom() + offset) / kPitch);
  const int width = kColumns * kPitch;
  painter.setPen(palette().color(QPalette::Mid));
  for (int row = first_row; row <= last_row; ++row) {
    const int y = row * kPitch - offset;
    painter.fillRect(0, y + kCell, width, kLine, palette().color(QPalette::Mid));
    for (int column = 0; column < kColumns; ++column) {
      const int x = column * kPitch;
      painter.fillRect(x + kCell, y, kLine, kPitch, palette().color(QPalette::Mid));
      const int index = row * kColumns + column;
      if (index >= count) continue;
      const TColor c = palette_->GetClr(index);
      painter.fillRect(x, y, kCell, kCell, QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    }
  }
  if (selected_ / kColumns >= first_row && selected_ / kColumns <= last_row) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(CellRect(selected_).adjusted(0, 0, -1, -1));
  }
}

void SwatchGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  PaintCells(painter, event->rect());
}

void SwatchGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int index = IndexAt(event->position().toPoint());
  if (index < 0) return;
  SetSelected(index);
  emit clicked(index);
}

void SwatchGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int index = IndexAt(event->position().toPoint());
  if (index < 0) return;
  SetSelected(index);
  emit doubleClicked(index);
}

// Arrow keys move the selection within the grid, so it works without a mouse.
void SwatchGrid::keyPressEvent(QKeyEvent* event) {
  int index = selected_;
  switch (event->key()) {
    case Qt::Key_Left:
      index -= 1;
      break;
    case Qt::Key_Right:
      index += 1;
      break;
    case Qt::Key_Up:
      index -= kColumns;
      break;
    case Qt::Key_Down:
      index += kColumns;
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  if (index < 0 || index >= Rows() * kColumns) return;
  SetSelected(index);
  const QRect cell = CellRect(index);
  if (cell.top() < 0) verticalScrollBar()->setValue(verticalScrollBar()->value() + cell.top());
  if (cell.bottom() >= viewport()->height())
    verticalScrollBar()->setValue(verticalScrollBar()->value() + cell.bottom() + kLine -
                                  viewport()->height() + 1);
  emit clicked(index);
}
