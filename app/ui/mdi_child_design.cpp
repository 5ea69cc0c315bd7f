// "&Create Design": the document's design window.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "pattern/ui/model_frm.h"

void TMDIChild::CreateModel1Click() {
  if (Busy() || !Composition) return;
  if (DesignOpen && DesignWindow) {
    auto* sub = qobject_cast<QMdiSubWindow*>(DesignWindow->parentWidget());
    if (!sub || !sub->mdiArea()) return;
    if (sub->isMinimized()) sub->showNormal();
    sub->mdiArea()->setActiveSubWindow(sub);
    return;
  }
  // The picture as shown, mapped: the window keeps its own copy.
  const QImage picture = image1->Picture().copy();
  if (picture.isNull()) return;
  auto* window = new TModelFrm(this, picture);
  DesignWindow = window;
  DesignOpen = true;
  frame_->AddChild(window);
}
