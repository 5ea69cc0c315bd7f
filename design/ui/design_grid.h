#pragma once
// The enlarged design: cells of s pixels with one-pixel grid lines, scrolled by whole cells
// (the scroll bars' values are the first visible column and row). It paints only the exposed
// cells, keeps the drag of the current tool in design cells and draws its rubber band, and
// reports what the mouse did; the editor applies the drawing rules.

#include <QAbstractScrollArea>
#include <optional>

#include "design/design_raster.h"
#include "design/ui/cell_painter.h"
#include "design/ui/design_tool.h"
#include "design/ui/rubber_band.h"

class DesignGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // The cell sizes the zoom steps through.
  static constexpr int kZoomSteps[] = {5,  6,  7,  8,  10, 12, 14, 17, 20,
                                       24, 28, 34, 40, 50, 60, 70, 85, 100};

  DesignGrid(const DesignRaster& raster, QWidget* parent);

  // The design changed its size: the columns and rows follow it.
  void DesignResized();
  void SetCellSize(int cell);
  int CellSize() const { return view_.cell; }
  GridView View() const { return view_; }
  void ScrollTo(int c0, int r0);

  void SetTool(DesignTool tool);
  DesignTool Tool() const { return tool_; }

  // The design cell under a viewport point; none past the design.
  std::optional<Cell> CellAt(QPoint point) const;
  // The cell of the design nearest to a viewport point (the design is not empty).
  Cell NearestCell(QPoint point) const;
  // Where a cell is on the viewport.
  QRect CellBox(Cell cell) const;
  void RepaintCells(const CellRect& cells);

  bool Dragging() const { return drag_.active; }
  // The band on screen while a line or shape drag runs.
  std::optional<RubberBand> Band() const;
  // Ends a drag without painting anything: the band goes, the grid is idle again.
  void CancelDrag();

  // One zoom step up (+1) or down (-1), keeping the cell under `anchor` (viewport pixels)
  // where it was as closely as whole cells allow.
  void Zoom(int step, QPoint anchor);
  void ZoomAtCentre(int step);

 signals:
  // Pencil, pick-up and fill: the button was released on this cell.
  void cellReleased(DesignTool tool, Cell cell, Qt::MouseButton button);
  // Line and shapes: the drag ran from `start` to the cell its band last reached.
  void dragFinished(DesignTool tool, Cell start, Cell end, Qt::MouseButton button);
  void cellSizeChanged(int cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  struct Drag {
    bool active = false;
    DesignTool tool = DesignTool::Pencil;
    Qt::MouseButton button = Qt::NoButton;
    Cell start, end;
  };

  QPoint CentreOf(Cell cell) const;
  void UpdateScrollBars();
  void UpdateCursor();

  const DesignRaster& raster_;
  GridView view_;
  DesignTool tool_ = DesignTool::Pencil;
  Drag drag_;
};
