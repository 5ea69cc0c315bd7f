// Utils "&Image file viewer".
#include "app/ui/main_form.h"
#include "app/ui/viewer_form.h"
#include "app/ui/wait_cursor.h"

void TMainForm::ViewerClick() {
  WaitCursor wait;
  AddChild(new TViewerForm(this));
}
