#pragma once
// The one progress throttle of a document: its worker's reports and the reports of work on
// the UI thread pass through it. Decisions are taken under a lock; the forwarding runs
// outside it, so a forward that lets events run cannot hold the worker up.

#include <mutex>
#include <string>

#include "app/ui/progress_throttle.h"

class DocumentProgress {
 public:
  void Report(const std::string& text, uint16_t percent, const ProgressHandler& forward);

 private:
  std::mutex mutex_;
  ProgressThrottle throttle_;
};
