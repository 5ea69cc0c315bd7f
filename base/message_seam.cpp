#include "base/message_seam.h"

#include <atomic>
#include <cstdio>

namespace {
StderrMessages default_messages;
std::atomic<MessageSeam*> installed{nullptr};

void Print(const char* kind, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", kind, text.c_str());
}
}  // namespace

void StderrMessages::Error(const std::string& text) {
  Print("Error", text);
}
void StderrMessages::Info(const std::string& text) {
  Print("Information", text);
}
bool StderrMessages::Confirm(const std::string& text) {
  Print("Confirm", text);
  return false;
}

MessageSeam& Messages() {
  MessageSeam* seam = installed.load();
  return seam ? *seam : default_messages;
}

MessageSeam* InstallMessages(MessageSeam* seam) {
  return installed.exchange(seam);
}
