#include "palette/crypt_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

CryptFile::~CryptFile() {
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; callers that care call Close() themselves.
  }
}

void CryptFile::Start(std::string_view key_text, bool writing) {
  Close();
  cipher_.Key(key_text);
  writing_ = writing;
  offset_ = 0;
  position_ = 0;
  valid_ = 0;
  dirty_ = false;
}

void CryptFile::Open(const std::string& file_name, std::string_view key_text, int flags) {
  Start(key_text, (flags & O_WRONLY) != 0);
  file_name_ = file_name;
  // O_NONBLOCK: opening a pipe to read must not wait for a writer; it is refused below.
  fd_ = ::open(file_name.c_str(), flags | O_CLOEXEC | (writing_ ? 0 : O_NONBLOCK), 0666);
  if (fd_ < 0)
    throw ETcryptFile(writing_ ? "Enable to create output file !" : "Enable to open input file !");
  struct stat info {};
  if (!writing_ && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd_);
    fd_ = -1;
    throw ETcryptFile(FormatMessage("Unable to read %s", file_name));
  }
  buffer_ = std::make_unique<uint8_t[]>(kBufferSize);  // zero-filled
  bytes_ = buffer_.get();
}

void CryptFile::OpenBytes(std::string_view bytes, std::string_view key_text) {
  Start(key_text, false);
  in_memory_ = true;
  bytes_ = reinterpret_cast<const uint8_t*>(bytes.data());
  valid_ = int32_t(std::min<size_t>(bytes.size(), INT32_MAX));
}

void CryptFile::OpenString(std::string& sink, std::string_view key_text) {
  Start(key_text, true);
  in_memory_ = true;
  sink.clear();
  sink_ = &sink;
  buffer_ = std::make_unique<uint8_t[]>(kBufferSize);
}

void CryptFile::OpenRead(const std::string& file_name, std::string_view key_text) {
  Open(file_name, key_text, O_RDONLY);
}

void CryptFile::OpenWrite(const std::string& file_name, std::string_view key_text,
                          const std::string& shown_name) {
  Open(file_name, key_text, O_WRONLY | O_CREAT | O_TRUNC);
  if (!shown_name.empty()) file_name_ = shown_name;
}

void CryptFile::Fail(const char* what, int error) const {
  throw ETcryptFile(std::string("Unable to ") + what + " \"" + file_name_ +
                    "\": " + std::strerror(error));
}

uint8_t CryptFile::ReadPlainByte() {
  if (position_ == valid_) {
    offset_ += valid_;
    if (in_memory_) {  // everything was given at the start
      position_ = valid_ = 0;
      return 0;
    }
    ssize_t got;
    do got = ::read(fd_, buffer_.get(), kBufferSize);
    while (got < 0 && errno == EINTR);
    if (got < 0) Fail("read", errno);
    if (offset_ + got > kReadLimit) Fail("read", EFBIG);
    valid_ = int32_t(got);
    position_ = 0;
    // At the end nothing is taken from the buffer: every later read stays at the end.
    if (valid_ == 0) return 0;
  }
  return bytes_[size_t(position_++)];
}

uint8_t CryptFile::ReadEncipheredByte() {
  return cipher_.Decipher(ReadPlainByte());
}

template <typename ReadByte>
std::string CryptFile::ReadLine(ReadByte read) {
  std::string text;
  for (;;) {
    uint8_t byte = read();
    if (AtEnd() || byte == '\n') break;
    if (byte != '\r') text.push_back(char(byte));
  }
  return text;
}

std::string CryptFile::ReadPlainLine() {
  return ReadLine([this] { return ReadPlainByte(); });
}

std::string CryptFile::ReadEncipheredLine() {
  return ReadLine([this] { return ReadEncipheredByte(); });
}

void CryptFile::Store(uint8_t byte) {
  if (position_ == kBufferSize) Flush();
  buffer_[size_t(position_++)] = byte;
  if (valid_ < position_) valid_ = position_;
  dirty_ = true;
}

void CryptFile::WritePlainByte(uint8_t byte) {
  Store(byte);
}

void CryptFile::WriteEncipheredByte(uint8_t byte) {
  Store(cipher_.Encipher(byte));
}

void CryptFile::Flush() {
  if (!dirty_) return;
  const uint8_t* bytes = buffer_.get();
  size_t left = size_t(valid_);
  int64_t at = offset_;
  if (sink_) {
    sink_->append(reinterpret_cast<const char*>(bytes), left);
    left = 0;
  }
  while (left > 0) {
    ssize_t written = ::pwrite(fd_, bytes, left, at);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail("write to", written < 0 ? errno : ENOSPC);
    bytes += written;
    left -= size_t(written);
    at += written;
  }
  offset_ += valid_;
  position_ = 0;
  valid_ = 0;
  dirty_ = false;
}

void CryptFile::WritePlainLine(const std::string& text) {
  for (char c : text) WritePlainByte(uint8_t(c));
  WritePlainByte('\r');
  WritePlainByte('\n');
}

void CryptFile::WriteEncipheredLine(const std::string& text) {
  for (char c : text) WriteEncipheredByte(uint8_t(c));
  WriteEncipheredByte('\r');
  WriteEncipheredByte('\n');
}

void CryptFile::Close() {
  if (in_memory_) {
    const auto finish = [this] {
      in_memory_ = false;
      bytes_ = nullptr;
      sink_ = nullptr;
      buffer_.reset();
    };
    try {
      Flush();
    } catch (...) {
      finish();
      throw;
    }
    finish();
    return;
  }
  if (fd_ < 0) return;
  int fd = fd_;
  try {
    Flush();
    if (writing_ && ::fsync(fd) != 0) Fail("write to", errno);
  } catch (...) {
    ::close(fd);
    fd_ = -1;
    buffer_.reset();
    throw;
  }
  fd_ = -1;
  buffer_.reset();
  if (::close(fd) != 0 && writing_) Fail("write to", errno);
}
