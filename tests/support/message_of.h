#pragma once
// The message of the exception of type E that `action` raises, or what happened instead.

#include <functional>
#include <string>

template <typename E>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& error) {
    return error.what();
  } catch (...) {
    return "another exception";
  }
  return "no exception";
}
