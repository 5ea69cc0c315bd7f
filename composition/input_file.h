#pragma once
// A regular file opened for reading, read from the start to its end.

#include <cstddef>
#include <cstdint>
#include <string>

class InputFile {
 public:
  // Opened() tells whether the file exists, is a regular file and can be read.
  explicit InputFile(const std::string& file_name);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool Opened() const { return fd_ >= 0; }
  // The length the file had when it was opened; it may change while it is read.
  uint64_t Size() const { return size_; }

  // Reads until `size` bytes are in or the file ends and returns how many were read;
  // raises EInOutError "Stream read error" when the system cannot read it.
  size_t Read(void* into, size_t size);

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};
