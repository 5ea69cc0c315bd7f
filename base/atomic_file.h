#pragma once
// A file written beside its target and renamed over it only once it is complete and
// flushed: the target is always either the old file or the whole new one. Where the file
// system allows, the new file has no name until it is complete, so that nothing is left
// behind whatever ends the program.

#include <cstddef>
#include <string>

class ReplacementFile {
 public:
  // Creates the temporary file in the folder of the target (of the file a symbolic link
  // leads to, even one still missing); Created() tells whether it could. Raises EInOutError
  // "Unable to write to <target>" when the target exists and is no regular file or one the
  // user may not write, or its links run in a loop: such a target is never touched.
  explicit ReplacementFile(const std::string& target);
  ~ReplacementFile();  // removes the temporary file unless it was committed
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Created() const { return fd_ >= 0; }
  // The file that is replaced: the target, or where its links lead.
  const std::string& Target() const { return target_; }

  // Appends bytes; raises EInOutError naming the target when the write fails.
  void Write(const void* data, size_t size);
  void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
  // Flushes to disk and puts the new file in the target's place; raises EInOutError.
  void Commit();

 private:
  [[noreturn]] void Fail(const char* what, int error);
  bool CreateUnnamed(const std::string& folder);
  void CreateNamed(const std::string& folder);

  std::string target_;
  std::string temp_path_;  // empty while the new file has no name
  int fd_ = -1;
  bool committed_ = false;
};

// Whether a ReplacementFile may replace `target`: it is missing, or a regular file (links
// followed) the user may write. For checking several files before writing any of them.
bool MayReplace(const std::string& target);

// Writes a whole file through a ReplacementFile; raises EInOutError on any failure.
void ReplaceFileContents(const std::string& target, const std::string& bytes);
