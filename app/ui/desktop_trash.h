#pragma once
// The desktop's trash: the freedesktop home trash under $XDG_DATA_HOME/Trash, or the trash
// of the file's own file system (<top>/.Trash-<uid>). Qt moves the file; this makes the home
// trash first and checks where the file went, since without a trash folder Qt 6.4 makes
// "files" and "info" in the current folder and puts the file there.

#include <QString>

enum class TrashOutcome {
  Trashed,  // the file is in the trash
  NoTrash,  // the file is where it was: its file system has no trash
  Failed,   // it could not be moved; `reason` says why
};

TrashOutcome MoveToDesktopTrash(const QString& path, QString& reason);
