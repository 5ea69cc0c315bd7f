#pragma once
// A message seam for tests: records every message and answers questions from a script.

#include <deque>
#include <string>
#include <vector>

#include "base/message_seam.h"

class ScriptedMessages : public MessageSeam {
 public:
  ScriptedMessages();   // installs itself
  ~ScriptedMessages();  // puts back the seam it replaced

  void Error(const std::string& text) override;
  void Info(const std::string& text) override;
  bool Confirm(const std::string& text) override;

  // Answers for the next questions, in order; an unscripted question fails the test.
  void Answer(bool yes) { answers_.push_back(yes); }

  // "Error: ...", "Info: ...", "Confirm: ..." in the order shown.
  std::vector<std::string> shown;

 private:
  std::deque<bool> answers_;
  MessageSeam* previous_;
};
