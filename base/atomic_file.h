#pragma once
// A file written beside its target and renamed over it only once it is complete and
// flushed: the target is always either the old file or the whole new one.

#include <cstddef>
#include <string>

class ReplacementFile {
 public:
  // Creates the temporary file in the target's folder; Created() tells whether it could.
  explicit ReplacementFile(const std::string& target);
  ~ReplacementFile();  // removes the temporary file unless it was committed
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Created() const { return fd_ >= 0; }
  const std::string& TempPath() const { return temp_path_; }
  const std::string& Target() const { return target_; }

  // Appends bytes; raises EInOutError naming the target when the write fails.
  void Write(const void* data, size_t size);
  void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
  // Flushes to disk and renames the temporary file over the target; raises EInOutError.
  void Commit();

 private:
  [[noreturn]] void Fail(const char* what, int error);

  std::string target_;
  std::string temp_path_;
  int fd_ = -1;
  bool committed_ = false;
};

// Writes a whole file through a ReplacementFile; raises EInOutError on any failure.
void ReplaceFileContents(const std::string& target, const std::string& bytes);
