// The editor's painting: what the mouse did on the grid, applied to the design as steps of
// the history, and the colour lists.
#include "design/design_rules.h"
#include "design/ellipse_rule.h"
#include "design/flood_fill.h"
#include "design/ui/color_list_box.h"
#include "design/ui/design_frm.h"
#include "design/ui/design_grid.h"
#include "design/ui/design_history.h"
#include "palette/floss_palette.h"

namespace {

using DragRule = CellRect (*)(DesignRaster&, Cell, Cell, TColor);

struct DragTool {
  const char* text;
  DragRule paint;
  CellRect (*bounds)(const DesignRaster&, Cell, Cell);
};

DragTool DragToolOf(DesignTool tool) {
  switch (tool) {
    case DesignTool::Ellipse:
      return {"Circle", PaintEllipse, ShapeBounds};
    case DesignTool::Rectangle:
      return {"Square", PaintRectangle, ShapeBounds};
    case DesignTool::FilledRectangle:
      return {"Filled square", PaintFilledRectangle, ShapeBounds};
    case DesignTool::FilledEllipse:
      return {"Filled circle", PaintFilledEllipse, ShapeBounds};
    default:
      return {"Line", PaintLine, LineBounds};
  }
}

}  // namespace

TColor TDesignFrm::PaintColor(Qt::MouseButton button) const {
  return button == Qt::RightButton ? BackColor : ForeColor;
}

void TDesignFrm::CellReleased(DesignTool tool, Cell cell, Qt::MouseButton button) {
  const TColor colour = PaintColor(button);
  if (tool == DesignTool::Pencil) {
    PaintRecorded("Pencil", {cell.col, cell.row, cell.col + 1, cell.row + 1},
                  [cell, colour](DesignRaster& raster) { return PaintCell(raster, cell, colour); });
  } else if (tool == DesignTool::Pickup) {
    PickUp(cell, button);
  } else if (tool == DesignTool::Fill) {
    RecordedFill fill = FillRecorded(design_, cell, colour);
    if (fill.changed.Empty()) return;
    history_->Record(
        std::make_shared<PaintStep>(
            [cell, colour](DesignRaster& raster) { return Fill(raster, cell, colour); },
            std::move(fill.before)),
        "Fill");
    DrawGrid1->RepaintCells(fill.changed);
  }
}

void TDesignFrm::DragFinished(DesignTool tool, Cell start, Cell end, Qt::MouseButton button) {
  const TColor colour = PaintColor(button);
  const DragTool drag = DragToolOf(tool);
  PaintRecorded(drag.text, drag.bounds(design_, start, end),
                [paint = drag.paint, start, end, colour](DesignRaster& raster) {
                  return paint(raster, start, end, colour);
                });
}

void TDesignFrm::PaintRecorded(const QString& text, const CellRect& bounds,
                               std::function<CellRect(DesignRaster&)> rule) {
  const CellRect on_design = bounds.Intersected(design_.Bounds());
  if (on_design.Empty()) return;
  CellPatch before(design_, on_design);
  const CellRect changed = rule(design_);
  if (changed.Empty()) return;
  history_->Record(std::make_shared<PaintStep>(std::move(rule), std::move(before)), text);
  DrawGrid1->RepaintCells(changed);
}

void TDesignFrm::HistoryChanged(const CellRect& changed) {
  if (design_.Width() != shown_width_ || design_.Height() != shown_height_) {
    ShowSize(design_.Width(), design_.Height());
    DrawGrid1->DesignResized();
    return;
  }
  DrawGrid1->RepaintCells(changed);
}

void TDesignFrm::PickUp(Cell cell, Qt::MouseButton button) {
  if (palette_.Count() == 0) return;
  CtrlDmcNames->setCurrentIndex(palette_.NearestClr(design_.At(cell.col, cell.row)));
  if (button == Qt::RightButton)
    ctrladdbackClick();
  else
    ctrladdforeClick();
}

void TDesignFrm::ctrladdforeClick() {
  AddColor(CtrlForeColor, ForeColor);
}

void TDesignFrm::ctrladdbackClick() {
  AddColor(CtrlBackColor, BackColor);
}

void TDesignFrm::AddColor(ColorListBox* list, TColor& current) {
  const int index = CtrlDmcNames->currentIndex();
  if (index < 0 || index >= palette_.Count()) return;
  const QString name = CtrlDmcNames->itemText(index);
  // A name already listed is chosen with the colour it was listed with, so the swatch shown
  // is the colour painted (a palette may hold one name twice).
  const int listed = list->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (listed >= 0) {
    list->setCurrentIndex(listed);
    current = list->ColorAt(listed);
    return;
  }
  list->AddColor(name, palette_.GetClr(index));
  list->setCurrentIndex(list->count() - 1);
  current = palette_.GetClr(index);
}
