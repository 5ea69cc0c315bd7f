#pragma once
// The model's failures: small classes that carry only their message.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A text that is not a number where one is needed.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A file could not be read or written.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// "text" with %s replaced by the argument (the messages' own placeholder).
std::string FormatMessage(const std::string& pattern, const std::string& argument);
