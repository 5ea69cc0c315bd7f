#include "composition/scratch_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/exceptions.h"
#include "composition/input_file.h"

ScratchFile::ScratchFile(const std::string& folder) {
  std::string pattern = folder + "TMPXXXXXX";
  fd_ = ::mkstemp(pattern.data());
  if (fd_ < 0)
    throw EInOutError("Cannot create a temporary file in " + folder + ": " + std::strerror(errno));
  path_ = pattern;
}

ScratchFile::~ScratchFile() {
  if (fd_ >= 0) ::close(fd_);
  ::unlink(path_.c_str());
}

void ScratchFile::Fill(const std::string& bytes) {
  const char* at = bytes.data();
  size_t left = bytes.size();
  while (left > 0 && fd_ >= 0) {
    ssize_t written = ::write(fd_, at, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int error = written < 0 ? errno : ENOSPC;
      throw EInOutError("Cannot write the temporary file " + path_ + ": " + std::strerror(error));
    }
    at += written;
    left -= size_t(written);
  }
  const int fd = fd_;
  fd_ = -1;
  if (fd < 0 || ::close(fd) != 0)
    throw EInOutError("Cannot write the temporary file " + path_);
}

std::string ScratchFile::Contents() const {
  InputFile file(path_);
  if (!file.Opened()) throw EInOutError("Cannot read the temporary file " + path_);
  std::string bytes(size_t(file.Size()) + 1, '\0');
  size_t used = 0;
  for (;;) {
    used += file.Read(bytes.data() + used, bytes.size() - used);
    if (used < bytes.size()) break;
    bytes.resize(bytes.size() * 2);  // it grew after it was opened
  }
  bytes.resize(used);
  return bytes;
}
