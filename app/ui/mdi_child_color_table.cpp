// "&Color Table": the palette editor on a working copy of the composition.
#include <QApplication>
#include <QPushButton>

#include "app/ui/color_dlg.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/ui_seams.h"
#include "composition/ui/document_jobs.h"
#include "composition/ui/picture_jobs.h"

void TMDIChild::ColorTable1Click() {
  if (!PictureIdle()) return;
  // The cursors come back and the frame's line is redrawn on every way out.
  struct Restore {
    TMDIChild* window;
    ~Restore() {
      window->frame_->ShowDocumentInfo(window);
      window->frame_->SetCursorAll(Qt::ArrowCursor);
      window->SetDocumentCursor(Qt::ArrowCursor);
    }
  } restore{this};
  SetDocumentCursor(Qt::WaitCursor);
  frame_->SetCursorAll(Qt::WaitCursor);
  TColorDlg dialog(*frame_, this, this);
  dialog.Work().Assign(*Composition);
  dialog.StartUp();
  frame_->SetCursorAll(Qt::ArrowCursor);
  SetDocumentCursor(Qt::ArrowCursor);
  if (RunModal(dialog) == TColorDlg::kOk) {
    PaletteUndo::Snapshot before = PaletteUndo::Take(*Composition);
    const TPicture kept = Composition->Mapped() ? Composition->MappedPicture() : TPicture();
    Composition->Assign(dialog.Work());
    RecordPaletteChange(std::move(before));
    if (dialog.preview->isEnabled()) {
      StartPictureUpdate(false);
    } else if (dialog.Work().Mapped()) {
      // The last preview mapped this very palette: it is the document's picture now.
      Composition->SetMappedPicture(dialog.Work().MappedPicture());
      remap_wanted_ = false;
    } else if (!kept.Empty()) {
      Composition->SetMappedPicture(kept);  // nothing changed: the mapping still holds
    }
    Composition->SetModified(true);
  } else if (dialog.Previewed()) {
    StartPictureUpdate(false);
  }
}

void TMDIChild::StartPreviewUpdate(TpunCompo& work) {
  RunJob(DocWork::UpdatingPicture, [this, &work] {
    WorkerJob job;
    job.body = UpdatePictureJob(work, true);
    job.apply = [this, &work](std::any& result) {
      const auto update = std::any_cast<std::shared_ptr<PictureUpdateResult>>(result);
      if (update->mapped) {
        ReleaseLater({work.MappedPicture()});
        work.SetMappedPicture(std::move(*update->mapped));
      }
      ShowPicture(update->screen);
    };
    return job;
  });
}
