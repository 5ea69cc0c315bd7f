#pragma once
// What a benchmark that shows windows sets up first: Qt's offscreen platform unless another
// is asked for, and a configuration folder of its own, so the user's settings and symbol
// table are never read or written.

#include <QTemporaryDir>
#include <QtGlobal>
#include <cstdio>

class OffscreenSession {
 public:
  OffscreenSession() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (folder_.isValid())
      qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
    else
      std::fputs("no temporary folder\n", stderr);
  }
  // False, said on stderr, when no temporary folder could be made: the benchmark cannot run.
  bool Valid() const { return folder_.isValid(); }
  const QTemporaryDir& Folder() const { return folder_; }

 private:
  QTemporaryDir folder_;
};
