#pragma once
// The worker side of a document's thread: runs a job's body and reports only through
// queued signals. It holds no window and no composition beyond the body it is given.

#include <QObject>
#include <QString>
#include <any>
#include <memory>

#include "composition/ui/worker_job.h"

class ProgressThrottle;

class JobWorker : public QObject {
  Q_OBJECT

 public:
  // `cancel` and `throttle` belong to the document and outlive this worker.
  JobWorker(const CancelToken& cancel, class DocumentProgress& progress);

  // On the worker thread.
  void Run(quint64 id, WorkerJob::Body body);

 signals:
  void Progress(quint64 id, QString text, int percent);
  void Finished(quint64 id, std::shared_ptr<std::any> result);
  void Failed(quint64 id, QString message);

 private:
  const CancelToken& cancel_;
  DocumentProgress& progress_;
};
