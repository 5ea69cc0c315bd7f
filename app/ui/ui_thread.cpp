#include "app/ui/ui_thread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <exception>

void RunOnUiThread(QObject* context, const std::function<void()>& work) {
  if (context == nullptr) return;  // no window left to run it on
  if (QThread::currentThread() == context->thread()) {
    work();
    return;
  }
  // An exception must not unwind through the event loop of the other thread: it is carried
  // back and raised where the caller can handle it.
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      context,
      [&work, &error] {
        try {
          work();
        } catch (...) {
          error = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (error) std::rethrow_exception(error);
}
