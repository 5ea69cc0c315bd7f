#pragma once
// File names between the windows (QString) and the model (the system's own bytes).

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>
#include <system_error>

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
// `name` with the text from its last '.' on (none when it has no dot) replaced by
// `extension` (".bmp").
inline QString WithExtension(const QString& name, const QString& extension) {
  const int dot = name.lastIndexOf('.');
  return (dot < 0 ? name : name.left(dot)) + extension;
}
// Whether two paths name the same file, which need not exist yet (links and "..", as the
// system resolves them).
inline bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error_a, error_b;
  const std::filesystem::path canonical_a = std::filesystem::weakly_canonical(a, error_a);
  const std::filesystem::path canonical_b = std::filesystem::weakly_canonical(b, error_b);
  if (error_a || error_b)
    return std::filesystem::path(a).lexically_normal() ==
           std::filesystem::path(b).lexically_normal();
  return canonical_a == canonical_b;
}
