#pragma once
// Decides which progress reports reach a window. The model may report thousands of times a
// second; a status line repainted that often only slows the work down, so a report is
// passed on only when enough time went by since the last one that was. The closing report
// (empty text) always passes, preceded by the last report when that one was held back, so
// the final state of an operation is always seen. Not thread-safe: one reporting thread.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "base/progress.h"

class ProgressThrottle {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kInterval{16};

  explicit ProgressThrottle(Clock clock = std::chrono::steady_clock::now,
                            std::chrono::milliseconds interval = kInterval);

  // Calls forward for each report to be shown now, in order: none, this one, or the one
  // held back and then this closing one.
  void Report(const std::string& text, uint16_t percent, const ProgressHandler& forward);

 private:
  void Forward(const std::string& text, uint16_t percent, const ProgressHandler& forward);

  Clock clock_;
  std::chrono::steady_clock::duration interval_;
  bool forwarded_any_ = false;  // since the last closing report
  std::chrono::steady_clock::time_point last_forward_{};
  bool held_ = false;  // a report was held back since the last forwarded one
  std::string held_text_;
  uint16_t held_percent_ = 0;
};
