#pragma once
// Small files read at once: settings, symbol tables, palettes.

#include <cstddef>
#include <string>
#include <vector>

// kUnreadable also covers what is no regular file (a folder, a device, a pipe) and a file
// larger than the reader's bound: none of them is read at all.
enum class WholeFile { kRead, kMissing, kUnreadable };

// What a settings file or a symbol table may hold: far more than any real one.
inline constexpr size_t kSmallFileLimit = size_t(1) << 20;

// Replaces `bytes` by the file's bytes, at most `limit` of them; they are empty unless the
// result is kRead.
WholeFile ReadWholeFile(const std::string& path, std::string& bytes,
                        size_t limit = kSmallFileLimit);

// The lines of a text: CR LF, LF and CR each end one, and a last line needs no ending.
std::vector<std::string> SplitLines(const std::string& bytes);
