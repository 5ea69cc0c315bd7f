#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "base/exceptions.h"

namespace {

// A target that is a symbolic link is replaced where the link points, so the link stays.
std::string ResolveTarget(const std::string& target) {
  std::error_code error;
  if (std::filesystem::is_symlink(target, error)) {
    auto resolved = std::filesystem::weakly_canonical(target, error);
    if (!error) return resolved.string();
  }
  return target;
}

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& target) : target_(ResolveTarget(target)) {
  struct stat existing {};
  bool exists = ::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp", (unsigned long long)(random() >> 16));
    temp_path_ = FolderOf(target_) + "." + NameOf(target_) + suffix;
    fd_ = ::open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temp_path_.clear();
    return;
  }
  // The new file keeps the permissions of the one it replaces.
  if (exists) (void)::fchmod(fd_, existing.st_mode & 07777);
}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_path_.empty()) ::unlink(temp_path_.c_str());
}

void ReplacementFile::Fail(const char* what, int error) {
  throw EInOutError(std::string("Unable to ") + what + " \"" + target_ +
                    "\": " + std::strerror(error));
}

void ReplacementFile::Write(const void* data, size_t size) {
  auto bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t written = ::write(fd_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail("write to", written < 0 ? errno : ENOSPC);
    bytes += written;
    size -= size_t(written);
  }
}

void ReplacementFile::Commit() {
  if (::fsync(fd_) != 0) Fail("write to", errno);
  int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) Fail("write to", errno);
  if (::rename(temp_path_.c_str(), target_.c_str()) != 0) Fail("replace", errno);
  committed_ = true;
}

void ReplaceFileContents(const std::string& target, const std::string& bytes) {
  ReplacementFile file(target);
  if (!file.Created()) throw EInOutError("Cannot create file \"" + target + "\"");
  file.Write(bytes);
  file.Commit();
}
