#pragma once
// The color-search worker: runs the automatic color search on the document window's
// SearchComposition (a working copy), then hands the reduced palette to the document on
// the UI thread and starts a picture update. It frees itself when its run ends.

#include <QThread>
#include <atomic>
#include <cstdint>
#include <string>

#include "app/ui/progress_throttle.h"
#include "composition/color_search.h"

class TMDIChild;

class TcolorSearchThread : public QThread {
  Q_OBJECT

 public:
  // On the UI thread, once window.SearchComposition exists: binds its progress handlers
  // and those of its working palette to this worker's relay.
  explicit TcolorSearchThread(TMDIChild& window);
  ~TcolorSearchThread() override;

  // The last report of the search, as relayed to the window.
  std::string ProgressText;
  uint16_t ProgressPercent = 0;
  // Set by the caller before start().
  TSearchOptions Options;

  void SetOptions(const TSearchOptions& options) { Options = options; }

  // Workers of this class that exist (created and not yet freed).
  static int Instances() { return instances_; }

 protected:
  void run() override;

 private:
  // On the UI thread: the result into the document, the window back to idle, then the
  // picture update.
  void Finish(bool finished, const std::string& error);
  void Relay(const std::string& text, uint16_t percent);

  TMDIChild& window_;
  ProgressThrottle throttle_;

  static std::atomic<int> instances_;
};
