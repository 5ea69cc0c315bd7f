#include "composition/ui/job_worker.h"

#include "app/ui/slot_guard.h"
#include "composition/ui/document_progress.h"

JobWorker::JobWorker(const CancelToken& cancel, DocumentProgress& progress)
    : cancel_(cancel), progress_(progress) {}

void JobWorker::Run(quint64 id, WorkerJob::Body body) {
  const ProgressHandler sink = [this, id](const std::string& text, uint16_t percent) {
    progress_.Report(text, percent, [this, id](const std::string& t, uint16_t p) {
      emit Progress(id, QString::fromLatin1(t.c_str()), p);
    });
  };
  try {
    auto result = std::make_shared<std::any>(body(sink, cancel_));
    // The body and what it captured go here, on the worker: the result alone travels.
    body = nullptr;
    emit Finished(id, std::move(result));
  } catch (...) {
    body = nullptr;
    emit Failed(id, QString::fromStdString(ErrorText(std::current_exception())));
  }
}
