#pragma once
// The picture-update worker: remaps a document's picture onto its working palette (when
// automatic remapping is on or a remap is forced) and shows the result, while the window
// stays alive. It frees itself when its run ends.

#include <QThread>
#include <atomic>

#include "app/ui/progress_throttle.h"
#include "base/progress.h"

class TMDIChild;
class TpunCompo;

class TupdatePictureThread : public QThread {
  Q_OBJECT

 public:
  // On the UI thread. Saves the progress handlers of the composition and of its working
  // palette, and marks the window busy and updating at once, so that nothing can start on
  // the composition between this and the first step of the run.
  TupdatePictureThread(TMDIChild& window, TpunCompo& composition, bool force);
  ~TupdatePictureThread() override;

  // Workers of this class that exist (created and not yet freed).
  static int Instances() { return instances_; }

 protected:
  void run() override;

 private:
  void Execute();
  // Leaves the window idle and usable after an error.
  void Recover(const std::string& message);
  void RestoreHandlers();
  void Relay(const std::string& text, uint16_t percent);

  TMDIChild& window_;
  TpunCompo& composition_;
  ProgressHandler saved_progress_;
  bool force_remap_;
  ProgressThrottle throttle_;

  static std::atomic<int> instances_;
};
