#include "tests/support/scripted_messages.h"

#include <gtest/gtest.h>

ScriptedMessages::ScriptedMessages() : previous_(InstallMessages(this)) {}
ScriptedMessages::~ScriptedMessages() {
  InstallMessages(previous_);
}

void ScriptedMessages::Error(const std::string& text) {
  shown.push_back("Error: " + text);
}
void ScriptedMessages::Info(const std::string& text) {
  shown.push_back("Info: " + text);
}

bool ScriptedMessages::Confirm(const std::string& text) {
  shown.push_back("Confirm: " + text);
  if (answers_.empty()) {
    ADD_FAILURE() << "unscripted question: " << text;
    return false;
  }
  bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}
