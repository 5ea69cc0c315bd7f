#include "composition/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/exceptions.h"

InputFile::InputFile(const std::string& file_name) {
  // O_NONBLOCK: opening a pipe must not wait for a writer; it is refused below anyway.
  int fd = ::open(file_name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat info {};
  // A folder or a device opens too, but holds no file to read.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return;
  }
  fd_ = fd;
  size_ = uint64_t(info.st_size);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

size_t InputFile::Read(void* into, size_t size) {
  auto bytes = static_cast<uint8_t*>(into);
  size_t done = 0;
  while (done < size) {
    ssize_t got = ::read(fd_, bytes + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw EInOutError("Stream read error");
    if (got == 0) break;
    done += size_t(got);
  }
  return done;
}
