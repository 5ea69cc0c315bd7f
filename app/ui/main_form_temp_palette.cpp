// Utils "&Temp Palette".
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ui/main_form.h"
#include "app/ui/temp_pal_frm.h"
#include "app/ui/wait_cursor.h"

void TMainForm::TempPaletteClick() {
  if (TempPaletteWindow) return;
  WaitCursor wait;
  auto* window = new TTempPalFrm(this);
  TempPaletteWindow = window;
  QMdiSubWindow* sub = AddChild(window);
  sub->move(std::max(0, mdi->viewport()->width() - sub->width()), 0);
  UpdateCommands();
}

TTempPalFrm* TMainForm::ActiveTempPalette() const {
  QMdiSubWindow* sub = mdi->activeSubWindow();
  return sub ? qobject_cast<TTempPalFrm*>(sub->widget()) : nullptr;
}
