#pragma once
// A full disk for as long as the object lives: every write past `bytes` in any file fails.

#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_limit_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
    rlimit small = old_limit_;
    small.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_limit_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool Active() const { return active_; }

 private:
  rlimit old_limit_{};
  void (*old_handler_)(int) = nullptr;
  bool active_ = false;
};
