#pragma once
// A file read or written through a 64 KiB buffer, byte by byte, plain or enciphered; or the
// same from bytes in memory, such as the palette image inside a composition file.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/exceptions.h"
#include "palette/zip_cipher.h"

class ETcryptFile : public Exception {
 public:
  using Exception::Exception;
};

class CryptFile {
 public:
  static constexpr int32_t kBufferSize = 65536;
  // Reading a file past this many bytes fails: no palette comes near it.
  static constexpr int64_t kReadLimit = int64_t(64) << 20;

  CryptFile() = default;
  ~CryptFile();  // closes without raising; call Close() to learn of write failures
  CryptFile(const CryptFile&) = delete;
  CryptFile& operator=(const CryptFile&) = delete;

  // Opens an existing file for reading only; "Enable to open input file !" on failure,
  // "Unable to read <name>" when it is no regular file.
  void OpenRead(const std::string& file_name, std::string_view key_text);
  // Creates the file or empties it; "Enable to create output file !" on failure. Write
  // failures name `shown_name` when given: the file this one will replace.
  void OpenWrite(const std::string& file_name, std::string_view key_text,
                 const std::string& shown_name = {});
  // Reads `bytes` as the contents of a file; they must outlive the reading.
  void OpenBytes(std::string_view bytes, std::string_view key_text);
  // Writes into `sink`, emptied first, in place of a file.
  void OpenString(std::string& sink, std::string_view key_text);

  uint8_t ReadPlainByte();
  uint8_t ReadEncipheredByte();
  bool AtEnd() const { return valid_ == 0; }
  std::string ReadPlainLine();
  std::string ReadEncipheredLine();

  void WritePlainByte(uint8_t byte);
  void WriteEncipheredByte(uint8_t byte);
  void Flush();
  void WritePlainLine(const std::string& text);
  void WriteEncipheredLine(const std::string& text);

  // Flushes, flushes to disk when written, and closes; raises ETcryptFile on a failed write.
  void Close();
  bool IsOpen() const { return fd_ >= 0 || in_memory_; }

 private:
  void Open(const std::string& file_name, std::string_view key_text, int flags);
  void Start(std::string_view key_text, bool writing);
  template <typename ReadByte>
  std::string ReadLine(ReadByte read);
  void Store(uint8_t byte);
  [[noreturn]] void Fail(const char* what, int error) const;

  bool dirty_ = false;
  int64_t offset_ = 0;
  int fd_ = -1;
  std::unique_ptr<uint8_t[]> buffer_;
  bool in_memory_ = false;
  const uint8_t* bytes_ = nullptr;  // what is read: the buffer, or the bytes given
  std::string* sink_ = nullptr;     // where a memory write goes
  int32_t position_ = 0;
  int32_t valid_ = 0;
  ZipCipher cipher_{""};
  std::string file_name_;
  bool writing_ = false;
};
