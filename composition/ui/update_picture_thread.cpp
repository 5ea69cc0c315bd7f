#include "composition/ui/update_picture_thread.h"

#include <QAction>
#include <QImage>
#include <exception>

#include "app/app_settings.h"
#include "app/ui/mdi_child.h"
#include "app/ui/ui_thread.h"
#include "base/message_seam.h"
#include "composition/composition.h"
#include "composition/ui/screen_bitmap.h"

std::atomic<int> TupdatePictureThread::instances_{0};

TupdatePictureThread::TupdatePictureThread(TMDIChild& window, TpunCompo& composition, bool force)
    : window_(window),
      composition_(composition),
      saved_progress_(composition.OnProgress()),
      force_remap_(force) {
  ++instances_;
  window_.UpdatingPicture = true;
  window_.Busy = true;
  connect(this, &QThread::finished, this, &QObject::deleteLater);
}

TupdatePictureThread::~TupdatePictureThread() {
  --instances_;
}

void TupdatePictureThread::run() {
  try {
    Execute();
  } catch (const std::exception& error) {
    Recover(error.what());
  } catch (...) {
    Recover("Unknown error while updating the picture");
  }
}

void TupdatePictureThread::Execute() {
  bool remap = force_remap_;
  RunOnUiThread(&window_, [this, &remap] {
    window_.UpdatingPicture = true;
    window_.SetBusy(true);
    window_.SetDocumentCursor(Qt::WaitCursor);
    // The mapping reports on this worker: the relay carries the reports to the window. The
    // palette keeps its own handler: it reports nothing while mapping, and the windows may
    // ask it for its threads meanwhile, on their own thread.
    composition_.SetOnProgress(
        [this](const std::string& text, uint16_t percent) { Relay(text, percent); });
    // Read here, where the preferences are changed, not while they may change.
    remap = remap || Settings().AutoRemap;
  });

  if (remap) composition_.Remap();
  RunOnUiThread(&window_, [this, remap] { window_.RemapPict->setEnabled(!remap); });

  const QImage picture = CreateScreenBitmap(composition_);
  RunOnUiThread(&window_, [this, &picture] { window_.ShowPicture(picture); });

  RunOnUiThread(&window_, [this] {
    window_.SetBusy(false);
    if (window_.GridOpen && window_.GridWindow) {
      window_.GridWindow->update();
      for (QWidget* child : window_.GridWindow->findChildren<QWidget*>()) child->update();
    }
    RestoreHandlers();
    window_.SetDocumentCursor(Qt::ArrowCursor);
    window_.UpdatingPicture = false;
    // In the same call as the busy mark's end: once it returns the window may close, so
    // this worker touches neither window nor composition again.
    window_.PictureUpdateEnded();
  });
}

void TupdatePictureThread::Recover(const std::string& message) {
  try {
    RunOnUiThread(&window_, [this, &message] {
      RestoreHandlers();
      window_.UpdatingPicture = false;
      window_.SetBusy(false);
      window_.ShowProgress("", 0);
      window_.SetDocumentCursor(Qt::ArrowCursor);
      Messages().Error(message);
      window_.PictureUpdateEnded();
    });
  } catch (...) {
    // The window could not be reset any further; the worker still ends.
  }
}

void TupdatePictureThread::RestoreHandlers() {
  composition_.SetOnProgress(saved_progress_);
}

void TupdatePictureThread::Relay(const std::string& text, uint16_t percent) {
  throttle_.Report(text, percent, [this](const std::string& shown, uint16_t shown_percent) {
    RunOnUiThread(&window_, [&] { window_.ShowProgress(shown, shown_percent); });
  });
}
