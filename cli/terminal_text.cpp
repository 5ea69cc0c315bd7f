#include "cli/terminal_text.h"

#include <cstdio>

std::string TerminalText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 0x20 && byte != 0x7F) || c == '\t' || c == '\n') {
      shown += c;
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      shown += escaped;
    }
  }
  return shown;
}
