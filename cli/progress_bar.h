#pragma once
// Progress of long commands as a bar on stderr, drawn only when stderr is a terminal.

#include <cstdint>
#include <string>

#include "base/progress.h"

class ProgressBar {
 public:
  ProgressBar();
  // A handler drawing into this bar, or an empty one when stderr is no terminal.
  ProgressHandler Handler();

 private:
  void Show(const std::string& text, uint16_t percent);

  bool terminal_;
  std::string last_;
};
