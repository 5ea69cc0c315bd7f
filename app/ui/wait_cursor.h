#pragma once
// The hourglass for the length of a scope: an application override cursor, taken off on
// every way out, exceptions included.

#include <QApplication>
#include <QCursor>

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};
