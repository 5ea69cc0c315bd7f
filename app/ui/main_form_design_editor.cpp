// Utils "&Design Editor".
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/app_settings.h"
#include "app/ui/main_form.h"
#include "app/ui/wait_cursor.h"
#include "design/ui/design_frm.h"

void TMainForm::DesignEditorClick() {
  WaitCursor wait;
  AddChild(new TDesignFrm(MainPalette, Settings()));
}

TDesignFrm* TMainForm::ActiveDesignEditor() const {
  QMdiSubWindow* sub = mdi->activeSubWindow();
  return sub ? qobject_cast<TDesignFrm*>(sub->widget()) : nullptr;
}
