#pragma once
// Text bound for the terminal that may hold bytes from files: a name or a note could
// otherwise carry escape sequences that move the cursor, retitle the window or worse.

#include <string>
#include <string_view>

// The text with every control character (below 0x20, and 0x7F) written as \xNN, except the
// tab and the line break that lay out the output's own columns and lines.
std::string TerminalText(std::string_view text);
