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

// Where a trash outside the home keeps its files: <top>/.Trash-<uid>/files or
// <top>/.Trash/<uid>/files.
bool InTopTrash(const QString& moved) {
  QDir folder = QFileInfo(moved).dir();
  if (folder.dirName() != "files" || !folder.cdUp()) return false;
  if (folder.dirName().startsWith(".Trash-")) return true;
  return folder.cdUp() && folder.dirName() == ".Trash";
}

// Qt found no trash and made "files" and "info" folders where it stood: undo that.
void PutBack(const QString& moved, const QString& path) {
  const QFileInfo at(moved);
  QFile::rename(moved, path);
  QDir top = at.dir();
  top.cdUp();
  QFile::remove(top.filePath("info/" + at.fileName() + ".trashinfo"));
  top.rmdir("files");
  top.rmdir("info");
}

}  // namespace

TrashOutcome MoveToDesktopTrash(const QString& path, QString& reason) {
  const QFileInfo info(path);
  if (!info.exists()) {
    reason = "No such file";
    return TrashOutcome::Failed;
  }
  // The home trash is made first: without it Qt would make one in the current folder.
  const QString trash = HomeTrash();
  const bool home =
      !trash.isEmpty() && MakeTrash(trash) && SameFileSystem(info.absolutePath(), trash);
  QFile file(path);
  if (file.moveToTrash()) {
    if (home || InTopTrash(file.fileName())) return TrashOutcome::Trashed;
    PutBack(file.fileName(), path);
    reason = "No trash on this file system";
    return QFileInfo::exists(path) ? TrashOutcome::NoTrash : TrashOutcome::Failed;
  }
  reason = file.errorString();
  // A file still there in a folder we may write is one whose file system has no trash.
  return info.exists() && QFileInfo(info.absolutePath()).isWritable() ? TrashOutcome::NoTrash
                                                                      : TrashOutcome::Failed;
}
