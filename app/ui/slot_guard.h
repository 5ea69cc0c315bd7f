#pragma once
// The one error channel of the windows: every slot and event handler that can fail runs its
// body through Guarded, which shows what it raised through the message seam, so no exception
// crosses Qt's event dispatch.

#include <exception>
#include <functional>
#include <string>

inline constexpr const char* kOutOfMemory = "Not enough memory for this operation.";

// The text shown for an error: the out-of-memory message, or the error's own text.
std::string ErrorText(const std::exception_ptr& error);

// Runs `body`; an exception it raises is shown once and swallowed. True when none was.
bool Guarded(const std::function<void()>& body);

// A slot that runs `body` guarded, for connect().
template <typename Body>
auto GuardedSlot(Body body) {
  return [body = std::move(body)](auto&&...) { Guarded(body); };
}
