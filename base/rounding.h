#pragma once
// Real results become integers by rounding to nearest, halves to even.

#include <cmath>
#include <cstdint>

inline int64_t RoundHalfEven(double value) {
  return int64_t(std::nearbyint(value));
}
