#include "design/ui/design_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/ui/app_cursors.h"

namespace {

int CursorOf(DesignTool tool) {
  switch (tool) {
    case DesignTool::Pencil:
      return kCursorPen;
    case DesignTool::Line:
      return kCursorLine;
    case DesignTool::Pickup:
      return kCursorPickup;
    case DesignTool::Fill:
      return kCursorFill;
    case DesignTool::Ellipse:
    case DesignTool::FilledEllipse:
      return kCursorCircle;
    case DesignTool::Rectangle:
    case DesignTool::FilledRectangle:
      return kCursorSquare;
  }
  return kCursorPen;
}

bool Paints(Qt::MouseButton button) {
  return button == Qt::LeftButton || button == Qt::RightButton;
}

}  // namespace

DesignGrid::DesignGrid(const DesignRaster& raster, QWidget* parent)
    : QAbstractScrollArea(parent), raster_(raster) {
  setObjectName("DrawGrid1");
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_NoSystemBackground);
  // Moves without a button reach the grid too: one during a drag means its release was lost.
  viewport()->setMouseTracking(true);
  horizontalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setSingleStep(1);
  UpdateCursor();
  UpdateScrollBars();
}

void DesignGrid::DesignResized() {
  CancelDrag();
  UpdateScrollBars();
  viewport()->update();
}

void DesignGrid::SetCellSize(int cell) {
  cell = std::clamp(cell, 1, 1000);
  if (cell == view_.cell) return;
  CancelDrag();
  view_.cell = cell;
  UpdateScrollBars();
  viewport()->update();
}

void DesignGrid::ScrollTo(int c0, int r0) {
  horizontalScrollBar()->setValue(c0);
  verticalScrollBar()->setValue(r0);
  view_.c0 = horizontalScrollBar()->value();
  view_.r0 = verticalScrollBar()->value();
}

void DesignGrid::SetTool(DesignTool tool) {
  CancelDrag();
  tool_ = tool;
  UpdateCursor();
}

void DesignGrid::UpdateCursor() {
  viewport()->setCursor(AppCursor(CursorOf(tool_)));
}

void DesignGrid::UpdateScrollBars() {
  const int pitch = view_.Pitch();
  const int columns = std::max(1, viewport()->width() / pitch);
  const int rows = std::max(1, viewport()->height() / pitch);
  horizontalScrollBar()->setPageStep(columns);
  verticalScrollBar()->setPageStep(rows);
  horizontalScrollBar()->setRange(0, std::max(0, raster_.Width() - columns));
  verticalScrollBar()->setRange(0, std::max(0, raster_.Height() - rows));
  view_.c0 = horizontalScrollBar()->value();
  view_.r0 = verticalScrollBar()->value();
}

std::optional<Cell> DesignGrid::CellAt(QPoint point) const {
  if (point.x() < 0 || point.y() < 0) return std::nullopt;
  const Cell cell{view_.c0 + point.x() / view_.Pitch(), view_.r0 + point.y() / view_.Pitch()};
  if (!raster_.Contains(cell.col, cell.row)) return std::nullopt;
  return cell;
}

Cell DesignGrid::NearestCell(QPoint point) const {
  // Division rounding towards zero would put the first cell left of the viewport on column c0.
  const auto along = [&](int pixel, int first, int count) {
    const int offset = pixel < 0 ? -1 : pixel / view_.Pitch();
    return std::clamp(first + offset, 0, std::max(0, count - 1));
  };
  return {along(point.x(), view_.c0, raster_.Width()),
          along(point.y(), view_.r0, raster_.Height())};
}

QRect DesignGrid::CellBox(Cell cell) const {
  return QRect((cell.col - view_.c0) * view_.Pitch(), (cell.row - view_.r0) * view_.Pitch(),
               view_.cell, view_.cell);
}

QPoint DesignGrid::CentreOf(Cell cell) const {
  const QRect box = CellBox(cell);
  return {box.left() + view_.cell / 2, box.top() + view_.cell / 2};
}

void DesignGrid::RepaintCells(const CellRect& cells) {
  if (cells.Empty()) return;
  const QRect first = CellBox({cells.left, cells.top});
  const QRect area(first.topLeft(),
                   QSize(cells.Width() * view_.Pitch() - 1, cells.Height() * view_.Pitch() - 1));
  viewport()->update(area.intersected(viewport()->rect()));
}

std::optional<RubberBand> DesignGrid::Band() const {
  if (!drag_.active || !DrawsBand(drag_.tool)) return std::nullopt;
  return RubberBand{drag_.tool, CentreOf(drag_.start), CentreOf(drag_.end)};
}

void DesignGrid::CancelDrag() {
  if (!drag_.active) return;
  if (const auto band = Band()) viewport()->update(band->Area());
  drag_ = {};
}

void DesignGrid::Zoom(int step, QPoint anchor) {
  const int* steps = std::begin(kZoomSteps);
  const int* end = std::end(kZoomSteps);
  int cell = 0;
  if (step > 0) {
    const int* next = std::upper_bound(steps, end, view_.cell);
    if (next == end) return;
    cell = *next;
  } else {
    const int* next = std::lower_bound(steps, end, view_.cell);
    if (next == steps) return;
    cell = *(next - 1);
  }
  // The column and row under the anchor before, put under the anchor after.
  const int col = view_.c0 + std::max(0, anchor.x()) / view_.Pitch();
  const int row = view_.r0 + std::max(0, anchor.y()) / view_.Pitch();
  SetCellSize(cell);
  ScrollTo(col - std::max(0, anchor.x()) / view_.Pitch(),
           row - std::max(0, anchor.y()) / view_.Pitch());
  viewport()->update();
  emit cellSizeChanged(cell);
}

void DesignGrid::ZoomAtCentre(int step) {
  Zoom(step, viewport()->rect().center());
}

void DesignGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRgb outside = palette().color(QPalette::Window).rgb();
  for (const QRect& area : event->region()) {
    // A paint runs outside any guard: short of memory, the area shows the background.
    try {
      painter.drawImage(area.topLeft(), PaintCellArea(raster_, view_, area, outside));
    } catch (const std::exception&) {
      painter.fillRect(area, QColor(outside));
    }
  }
  if (const auto band = Band()) band->Draw(painter);
}

void DesignGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void DesignGrid::scrollContentsBy(int, int) {
  view_.c0 = horizontalScrollBar()->value();
  view_.r0 = verticalScrollBar()->value();
  viewport()->update();
}

void DesignGrid::mousePressEvent(QMouseEvent* event) {
  event->accept();
  // A drag belongs to the button that began it; the middle button paints nothing.
  if (drag_.active || !Paints(event->button())) return;
  const auto cell = CellAt(event->position().toPoint());
  if (!cell) return;
  drag_ = {true, tool_, event->button(), *cell, *cell};
  if (const auto band = Band()) viewport()->update(band->Area());
}

void DesignGrid::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (!drag_.active) return;
  if (!(event->buttons() & drag_.button)) {
    // The release never came (the grab went elsewhere): nothing is painted.
    CancelDrag();
    return;
  }
  if (!DrawsBand(drag_.tool)) return;
  const Cell cell = NearestCell(event->position().toPoint());
  if (cell == drag_.end) return;
  QRegion repaint = Band()->Area();
  drag_.end = cell;
  repaint += Band()->Area();
  viewport()->update(repaint);
}

void DesignGrid::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (!drag_.active || event->button() != drag_.button) return;
  const Drag done = drag_;
  CancelDrag();
  if (DrawsBand(done.tool)) {
    emit dragFinished(done.tool, done.start, done.end, done.button);
  } else if (const auto cell = CellAt(event->position().toPoint())) {
    emit cellReleased(done.tool, *cell, done.button);
  }
}

void DesignGrid::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  event->accept();
  const int delta = event->angleDelta().y();
  if (delta != 0) Zoom(delta > 0 ? +1 : -1, event->position().toPoint());
}

void DesignGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && drag_.active) {
    CancelDrag();
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void DesignGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) CancelDrag();
  QAbstractScrollArea::changeEvent(event);
}

bool DesignGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::UngrabMouse) CancelDrag();
  return QAbstractScrollArea::viewportEvent(event);
}
