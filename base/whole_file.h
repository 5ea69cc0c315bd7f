#pragma once
// Small text files read at once: settings, symbol tables, plain palettes.

#include <string>
#include <vector>

enum class WholeFile { kRead, kMissing, kUnreadable };

// Replaces `bytes` by the file's bytes; they are empty unless the result is kRead.
WholeFile ReadWholeFile(const std::string& path, std::string& bytes);

// The lines of a text: CR LF, LF and CR each end one, and a last line needs no ending.
std::vector<std::string> SplitLines(const std::string& bytes);
