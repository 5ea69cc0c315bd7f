#pragma once
// Workers change windows only through this: the work runs on the thread of a window (the UI
// thread) while the worker waits, so no window is ever touched from two threads.

#include <functional>

class QObject;

// Runs `work` on the thread of `context` and returns when it has run; on that thread
// itself it simply calls it. An exception thrown by `work` is caught there and thrown again
// here, on the caller's thread. When `context` is null, or is destroyed before the call
// could be delivered, `work` does not run and this returns all the same.
void RunOnUiThread(QObject* context, const std::function<void()>& work);
