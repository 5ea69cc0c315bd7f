#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

#include "base/exceptions.h"

namespace {

constexpr int kMostLinks = 40;  // as the system's own limit on links in one path

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void RefuseTarget(const std::string& target) {
  throw EInOutError(FormatMessage("Unable to write to %s", target));
}

// A target that is a symbolic link is replaced where the link leads, so the link stays;
// a link that leads nowhere yet creates its file. Links in a loop are refused.
std::string ResolveTarget(const std::string& target) {
  std::string path = target;
  for (int links = 0; links <= kMostLinks; ++links) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
      if (errno == ELOOP) RefuseTarget(target);  // a loop among the folders
      return path;
    }
    if (!S_ISLNK(info.st_mode)) return path;
    char next[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), next, sizeof next - 1);
    if (length < 0) return path;
    next[length] = '\0';
    path = next[0] == '/' ? std::string(next) : FolderOf(path) + next;
  }
  RefuseTarget(target);
}

// Whether the user may write the file. Root may write any file, but a file without any
// write permission was made read-only on purpose, and stays so for root too.
bool MayWrite(const std::string& path, const struct stat& info) {
  if (::access(path.c_str(), W_OK) != 0) return false;
  return ::geteuid() != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

std::string FdPath(int fd) {
  return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

bool MayReplace(const std::string& target) {
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) return errno != ELOOP;
  return S_ISREG(info.st_mode) && MayWrite(target, info);
}

ReplacementFile::ReplacementFile(const std::string& target) : target_(ResolveTarget(target)) {
  struct stat existing {};
  bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (!exists && errno == ELOOP) RefuseTarget(target);
  // A device or a folder is never replaced by a file.
  if (exists && (!S_ISREG(existing.st_mode) || !MayWrite(target_, existing))) RefuseTarget(target);
  const std::string folder = FolderOf(target_);
  if (!CreateUnnamed(folder)) CreateNamed(folder);
  if (fd_ < 0) return;
  // The new file keeps the permissions of the one it replaces.
  if (exists) (void)::fchmod(fd_, existing.st_mode & 07777);
}

bool ReplacementFile::CreateUnnamed(const std::string& folder) {
#ifdef O_TMPFILE
  fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  // Only a file that /proc can name is one that can be linked in at the end.
  if (fd_ >= 0 && ::access(FdPath(fd_).c_str(), F_OK) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
#endif
  return fd_ >= 0;
}

void ReplacementFile::CreateNamed(const std::string& folder) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp", (unsigned long long)(random() >> 16));
    temp_path_ = folder + "." + NameOf(target_) + suffix;
    fd_ = ::open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) temp_path_.clear();
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
  if (temp_path_.empty()) {
    // The complete file gets a name of its own, then takes the target's.
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && temp_path_.empty(); ++attempt) {
      char suffix[24];
      std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(seed()));
      std::string name = FolderOf(target_) + "." + NameOf(target_) + suffix;
      if (::linkat(AT_FDCWD, FdPath(fd_).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        temp_path_ = name;
      else if (errno != EEXIST)
        Fail("write to", errno);
    }
    if (temp_path_.empty()) Fail("write to", EEXIST);
  }
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
