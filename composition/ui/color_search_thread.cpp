#include "composition/ui/color_search_thread.h"

#include <exception>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/ui_thread.h"
#include "base/message_seam.h"
#include "composition/composition.h"
#include "composition/search_result.h"

std::atomic<int> TcolorSearchThread::instances_{0};

TcolorSearchThread::TcolorSearchThread(TMDIChild& window) : window_(window) {
  ++instances_;
  if (TpunCompo* work = window_.SearchComposition.get()) {
    const ProgressHandler relay = [this](const std::string& text, uint16_t percent) {
      Relay(text, percent);
    };
    work->SetOnProgress(relay);
    work->Palette().OnProgress = relay;
  }
  connect(this, &QThread::finished, this, &QObject::deleteLater);
}

TcolorSearchThread::~TcolorSearchThread() {
  --instances_;
}

void TcolorSearchThread::run() {
  bool finished = false;
  std::string error;
  try {
    // The window does not touch its SearchComposition while it is searching.
    if (TpunCompo* work = window_.SearchComposition.get())
      finished = AutomaticColorSearch(*work, Options);
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "Unknown error in the color search";
  }
  Finish(finished && error.empty(), error);
}

void TcolorSearchThread::Finish(bool finished, const std::string& error) {
  bool applied = false;
  const auto wrap_up = [&] {
    // The result is copied here, on the UI thread, where the windows paint from the palette.
    if (finished && window_.SearchComposition && window_.Composition) {
      applied = ApplySearchResult(*window_.Composition, window_.SearchComposition->Palette());
      if (!applied)
        Messages().Error(kEmptySearchResult);
      else if (window_.IsActive())
        window_.Frame()->ShowDocumentInfo(&window_);
    }
  };
  const auto back_to_idle = [&] {
    window_.SearchComposition.reset();
    window_.ShowProgress("", 0);
    window_.SetSearching(0);
  };
  try {
    RunOnUiThread(&window_, [&] {
      // The window goes back to idle whatever the hand-over did.
      try {
        wrap_up();
      } catch (...) {
        back_to_idle();
        throw;
      }
      back_to_idle();
      if (!error.empty()) Messages().Error(error);
      // After the marks are cleared, so the update's own busy mark holds until it ends.
      if (applied) window_.StartPictureUpdate(*window_.Composition, false);
    });
  } catch (const std::exception& e) {
    const std::string text = e.what();
    try {
      RunOnUiThread(&window_, [&text] { Messages().Error(text); });
    } catch (...) {
    }
  } catch (...) {
  }
}

void TcolorSearchThread::Relay(const std::string& text, uint16_t percent) {
  ProgressText = text;
  ProgressPercent = percent;
  throttle_.Report(text, percent, [this](const std::string& shown, uint16_t shown_percent) {
    RunOnUiThread(&window_, [&] { window_.ShowProgress(shown, shown_percent); });
  });
}
