#include "app/ui/progress_throttle.h"

#include <utility>

ProgressThrottle::ProgressThrottle(Clock clock, std::chrono::milliseconds interval)
    : clock_(std::move(clock)), interval_(interval) {}

void ProgressThrottle::Report(const std::string& text, uint16_t percent,
                              const ProgressHandler& forward) {
  if (text.empty()) {
    if (held_) Forward(held_text_, held_percent_, forward);
    Forward(text, percent, forward);
    // The next operation's first report shows at once.
    forwarded_any_ = false;
    return;
  }
  const auto now = clock_();
  if (!forwarded_any_ || now - last_forward_ >= interval_) {
    last_forward_ = now;
    forwarded_any_ = true;
    Forward(text, percent, forward);
    return;
  }
  held_ = true;
  held_text_ = text;
  held_percent_ = percent;
}

void ProgressThrottle::Forward(const std::string& text, uint16_t percent,
                               const ProgressHandler& forward) {
  held_ = false;
  if (forward) forward(text, percent);
}
