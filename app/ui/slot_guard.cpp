#include "app/ui/slot_guard.h"

#include <new>

#include "base/message_seam.h"

std::string ErrorText(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unexpected error";
  }
}

bool Guarded(const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (...) {
    Messages().Error(ErrorText(std::current_exception()));
    return false;
  }
}
