#pragma once
// File names between the windows (QString) and the model (the system's own bytes).

#include <QFile>
#include <QString>
#include <string>

inline std::string LocalPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}
inline QString ShownPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}
// The text after the last '/', or the whole text.
inline QString NameOfPath(const QString& path) {
  return path.section('/', -1);
}
