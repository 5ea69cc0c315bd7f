#pragma once
// Small text files read at once: settings, symbol tables, plain palettes.

#include <string>
#include <vector>

enum class WholeFile { kRead, kMissing, kUnreadable };

// Appends the file's bytes to `bytes`; on kUnreadable `bytes` is left empty.
WholeFile ReadWholeFile(const std::string& path, std::string& bytes);

// The lines of a text: CR LF, LF and CR each end one, and a last line needs no ending.
std::vector<std::string> SplitLines(const std::string& bytes);
