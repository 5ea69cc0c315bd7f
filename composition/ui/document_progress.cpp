#include "composition/ui/document_progress.h"

#include <utility>
#include <vector>

void DocumentProgress::Report(const std::string& text, uint16_t percent,
                              const ProgressHandler& forward) {
  std::vector<std::pair<std::string, uint16_t>> shown;
  {
    std::lock_guard lock(mutex_);
    throttle_.Report(text, percent,
                     [&shown](const std::string& t, uint16_t p) { shown.emplace_back(t, p); });
  }
  if (forward)
    for (const auto& [t, p] : shown) forward(t, p);
}
