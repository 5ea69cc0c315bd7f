#pragma once
// Progress reports: a text and a percentage; an empty text and 0 end an operation.

#include <cstdint>
#include <functional>
#include <string>

using ProgressHandler = std::function<void(const std::string& text, uint16_t percent)>;

// The percentage after step `step` (from 0) of `steps`.
constexpr uint16_t StepPercent(int64_t step, int64_t steps) {
  return steps <= 0 ? 0 : uint16_t((step + 1) * 100 / steps);
}
