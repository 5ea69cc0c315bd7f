// Utils "C&haracter table".
#include <memory>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "pattern/ui/char_dlg.h"

void TMainForm::CharTable() {
  std::unique_ptr<TCharDlg> dialog;
  {
    WaitCursor wait;
    dialog = std::make_unique<TCharDlg>(SymbolTable, Symbols, this);
  }
  RunModal(*dialog);
  dialog.reset();
  // The table may have changed under the open stitch patterns; their grids sit inside
  // scroll areas, which a window's own update does not reach.
  for (TMDIChild* document : Documents()) {
    if (!document->GridWindow) continue;
    document->GridWindow->update();
    for (QWidget* child : document->GridWindow->findChildren<QWidget*>()) child->update();
  }
}
