#pragma once
// A temporary file of this process: created under a fresh name ("TMP" and six random
// characters) so that it can never be another file, and deleted with the object.

#include <string>

class ScratchFile {
 public:
  // Creates the empty file in `folder` (which ends with '/'); raises EInOutError.
  explicit ScratchFile(const std::string& folder);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& Path() const { return path_; }

  // Writes the bytes into the still empty file and closes it; raises EInOutError.
  void Fill(const std::string& bytes);
  // What is stored under the name now (another writer may have replaced the file);
  // raises EInOutError.
  std::string Contents() const;

 private:
  std::string path_;
  int fd_ = -1;
};
