#include "app/ui/desktop_trash.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString HomeTrash() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return data.isEmpty() ? QString() : data + "/Trash";
}

bool MakeTrash(const QString& trash) {
  for (const char* part : {"/files", "/info"}) {
    const QString folder = trash + part;
    if (!QDir().mkpath(folder)) return false;
  }
  return QFile::setPermissions(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool SameFileSystem(const QString& a, const QString& b) {
  struct stat sa = {};
  struct stat sb = {};
  return stat(QFile::encodeName(a).constData(), &sa) == 0 &&
         stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev;
}

}  // namespace

TrashOutcome MoveToDesktopTrash(const QString& path, QString& reason) {
  const QFileInfo info(path);
  if (!info.exists()) {
    reason = "No such file";
    return TrashOutcome::Failed;
  }
  const QString trash = HomeTrash();
  if (trash.isEmpty() || !MakeTrash(trash)) {
    reason = "The trash folder cannot be made";
    return TrashOutcome::NoTrash;
  }
  if (!SameFileSystem(info.absolutePath(), trash)) {
    reason = "The file is on another file system than the trash";
    return TrashOutcome::NoTrash;
  }
  QFile file(path);
  if (file.moveToTrash()) return TrashOutcome::Trashed;
  reason = file.errorString();
  // A file still there in a folder we may write is one whose file system has no trash.
  return info.exists() && QFileInfo(info.absolutePath()).isWritable() ? TrashOutcome::NoTrash
                                                                      : TrashOutcome::Failed;
}
