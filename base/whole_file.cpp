#include "base/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

WholeFile ReadWholeFile(const std::string& path, std::string& bytes, size_t limit) {
  bytes.clear();
  // O_NONBLOCK: opening a pipe must not wait for a writer; it is refused below anyway.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
    return errno == ENOENT || errno == ENOTDIR ? WholeFile::kMissing : WholeFile::kUnreadable;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || uint64_t(info.st_size) > limit) {
    ::close(fd);
    return WholeFile::kUnreadable;
  }
  bytes.reserve(size_t(info.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    // A file that grows past the bound while it is read is refused all the same.
    if (got < 0 || bytes.size() + size_t(got) > limit) {
      ::close(fd);
      bytes.clear();
      return WholeFile::kUnreadable;
    }
    if (got == 0) break;
    bytes.append(buffer, size_t(got));
  }
  ::close(fd);
  return WholeFile::kRead;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}
