#pragma once
// The desktop's trash (the freedesktop home trash under $XDG_DATA_HOME/Trash). Qt moves the
// file; this makes sure the trash folder exists first and that the file is on the same file
// system, since without a trash folder Qt would make "files" and "info" in the current
// folder and put the file there.

#include <QString>

enum class TrashOutcome {
  Trashed,  // the file is in the trash
  NoTrash,  // the file is where it was: its file system has no trash
  Failed,   // it could not be moved; `reason` says why
};

TrashOutcome MoveToDesktopTrash(const QString& path, QString& reason);
