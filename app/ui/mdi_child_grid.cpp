// "&Stitch pattern": the document's pattern grid window.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "pattern/ui/grid_form.h"

void TMDIChild::Stitchpattern1Click() {
  if (Busy() || !Composition) return;
  if (GridOpen && GridWindow) {
    QWidget* shown = GridWindow->parentWidget() ? GridWindow->parentWidget() : GridWindow.data();
    if (shown->isMinimized()) shown->showNormal();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(shown); sub && sub->mdiArea())
      sub->mdiArea()->setActiveSubWindow(sub);
    shown->raise();
    return;
  }
  if (GridWindow) {
    // A window left over from before: it goes, with its sub-window.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(GridWindow->parentWidget()))
      delete sub;
    else
      delete GridWindow.data();
  }
  auto* grid = new TGridForm(this);
  GridWindow = grid;
  grid->SetUp(this);
  frame_->AddChild(grid);
  GridOpen = true;
}

void TMDIChild::RefreshGrid() {
  if (auto* grid = qobject_cast<TGridForm*>(GridWindow.data()); grid && GridOpen) grid->SetUp(this);
}
