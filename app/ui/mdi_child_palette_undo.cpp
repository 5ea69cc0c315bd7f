// Tools "&Undo palette change": takes back the document's last palette replacement, the
// automatic search above all, which is slow to run again by trial.
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"

void TMDIChild::RecordPaletteChange(PaletteUndo::Snapshot before) {
  palette_undo_.Record(std::move(before), *Composition);
  emit stateChanged();  // the command's enabled state follows
}

void TMDIChild::UndoPalette1Click() {
  if (Busy() || Working() || !Composition || !palette_undo_.Undo(*Composition)) return;
  Composition->SetModified(true);
  frame_->ShowDocumentInfo(this);
  StartPictureUpdate(false);
  emit stateChanged();
}
