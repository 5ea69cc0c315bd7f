#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

ProgressBar::ProgressBar() : terminal_(isatty(STDERR_FILENO) == 1) {}

ProgressHandler ProgressBar::Handler() {
  if (!terminal_) return nullptr;
  return [this](const std::string& text, uint16_t percent) { Show(text, percent); };
}

void ProgressBar::Show(const std::string& text, uint16_t percent) {
  constexpr int kWidth = 30;
  std::string line;
  if (!text.empty()) {
    int filled = std::min<int>(percent, 100) * kWidth / 100;
    line = "[" + std::string(size_t(filled), '#') + std::string(size_t(kWidth - filled), '.') +
           "] " + text.substr(0, 45);
  }
  // Redraw only when the line changes: most reports repeat the previous one.
  if (line == last_) return;
  std::fprintf(stderr, "\r%-80s\r%s", "", line.c_str());
  std::fflush(stderr);
  last_ = line;
}
