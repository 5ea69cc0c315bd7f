#include "composition/ui/document_jobs.h"

#include <QMetaObject>
#include <algorithm>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "app/ui/slot_guard.h"
#include "base/message_seam.h"
#include "composition/ui/job_worker.h"

namespace {

void YieldToTheUiThread() {
#ifdef __linux__
  const int tid = int(syscall(SYS_gettid));
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, id_t(tid));
  if (errno == 0) setpriority(PRIO_PROCESS, id_t(tid), std::min(nice + 5, 19));
#endif
}

}  // namespace

DocumentJobs::DocumentJobs(QObject* parent)
    : QObject(parent), worker_(new JobWorker(cancel_, progress_)) {
  qRegisterMetaType<std::shared_ptr<std::any>>();
  worker_->moveToThread(&thread_);
  connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
  connect(worker_, &JobWorker::Progress, this, [this](quint64 id, QString text, int percent) {
    if (id == id_ && running_) emit ProgressShown(text, percent);
  });
  connect(worker_, &JobWorker::Finished, this,
          [this](quint64 id, std::shared_ptr<std::any> result) {
            Ended(id, [this, result] {
              if (current_.apply) current_.apply(*result);
            });
          });
  connect(worker_, &JobWorker::Failed, this, [this](quint64 id, QString message) {
    Ended(id, [this, text = message.toStdString()] {
      if (current_.fail)
        current_.fail(text);
      else
        Messages().Error(text);
    });
  });
  // When the cores are shared, the windows go first: the worker, and the threads it starts
  // for a pass, run a few steps nicer than the UI thread.
  connect(
      &thread_, &QThread::started, &thread_, [] { YieldToTheUiThread(); }, Qt::DirectConnection);
  thread_.start();
}

DocumentJobs::~DocumentJobs() {
  Join();
}

void DocumentJobs::Start(std::function<WorkerJob()> make) {
  if (joined_) return;
  if (running_) {
    waiting_.push_back(std::move(make));
    return;
  }
  Launch(make);
}

void DocumentJobs::Launch(const Waiting& make) {
  running_ = true;
  cancel_ = false;
  ++id_;
  // A job that cannot even be made ends at once, shown like one that failed.
  if (!Guarded([&] { current_ = make(); }) || !current_.body) {
    Ended(id_, [] {});
    return;
  }
  WorkerJob::Body body = std::move(current_.body);
  QMetaObject::invokeMethod(
      worker_, [worker = worker_, id = id_, body = std::move(body)] { worker->Run(id, body); },
      Qt::QueuedConnection);
}

void DocumentJobs::Ended(quint64 id, const std::function<void()>& apply) {
  if (id != id_ || !running_ || joined_) return;  // stale: the job was given up
  Guarded(apply);
  current_ = {};
  running_ = false;
  emit JobEnded(!waiting_.empty());
  if (!running_ && !waiting_.empty() && !joined_) {
    const Waiting next = std::move(waiting_.front());
    waiting_.pop_front();
    Launch(next);
  }
}

void DocumentJobs::Join() {
  if (joined_) return;
  joined_ = true;
  cancel_ = true;
  waiting_.clear();
  thread_.quit();
  thread_.wait();
  running_ = false;
  current_ = {};
}
