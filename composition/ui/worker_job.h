#pragma once
// A job for a document's worker thread. Everything it may use is passed in: its body holds
// the composition it may touch (the document's, or a copy of its own) and its options; the
// worker passes the progress sink and the cancel token. The body's return value is the
// result, applied by the window on the UI thread; what it raises becomes the failure message.

#include <any>
#include <atomic>
#include <functional>
#include <string>

#include "base/progress.h"

using CancelToken = std::atomic<bool>;

struct WorkerJob {
  using Body = std::function<std::any(const ProgressHandler& progress, const CancelToken& cancel)>;
  using Apply = std::function<void(std::any& result)>;
  using Fail = std::function<void(const std::string& message)>;

  Body body;    // on the worker thread
  Apply apply;  // on the UI thread, with the body's result
  Fail fail;    // on the UI thread, with the message of what the body raised; none: shown
};
