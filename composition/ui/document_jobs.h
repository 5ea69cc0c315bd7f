#pragma once
// The window side of a document's worker: owns the thread, runs one job at a time, applies
// each result on the UI thread, and cancels and joins the thread when the window goes.
// Jobs asked for while one runs wait their turn.

#include <QObject>
#include <QThread>
#include <deque>
#include <functional>

#include "composition/ui/document_progress.h"
#include "composition/ui/worker_job.h"

class JobWorker;

class DocumentJobs : public QObject {
  Q_OBJECT

 public:
  explicit DocumentJobs(QObject* parent = nullptr);
  ~DocumentJobs() override;  // cancels and joins

  bool Running() const { return running_; }
  // Starts a job now when none runs; else its start waits for the running one's end. The
  // job is made, on the UI thread, when it starts, so it sees the document of that time.
  void Start(std::function<WorkerJob()> make);
  // Asks the running job to stop; its result is still applied when it finishes.
  void Cancel() { cancel_ = true; }
  const CancelToken& CancelRequested() const { return cancel_; }
  // Cancels, drops the waiting jobs, waits for the thread to end; no result is applied after.
  void Join();
  // The document's throttle, for reports of work on the UI thread.
  DocumentProgress& Progress() { return progress_; }

 signals:
  void ProgressShown(QString text, int percent);
  // After a job's result (or failure) was applied and before the next job starts.
  void JobEnded(bool more_waiting);

 private:
  using Waiting = std::function<WorkerJob()>;
  void Launch(const Waiting& make);
  void Ended(quint64 id, const std::function<void()>& apply);

  QThread thread_;
  JobWorker* worker_;
  CancelToken cancel_{false};
  DocumentProgress progress_;
  bool running_ = false;
  bool joined_ = false;
  quint64 id_ = 0;  // of the running job; results of any other are stale
  WorkerJob current_;
  std::deque<Waiting> waiting_;
};
