#include "pattern/symbol_table.h"

#include <algorithm>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "base/int_parse.h"
#include "base/latin1.h"
#include "base/rounding.h"
#include "base/whole_file.h"

namespace {

std::string ReadTableFile(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != WholeFile::kRead)
    throw EInOutError(FormatMessage("Unable to read %s", path));
  return bytes;
}

}  // namespace

SymbolEntry ParseSymbolEntry(std::string_view entry) {
  const size_t comma = entry.find(',');
  if (comma == std::string_view::npos)
    throw EConvertError("'" + std::string(entry) + "' is not a valid integer value");
  return SymbolEntry{std::string(entry.substr(0, comma)), StrToInt(entry.substr(comma + 1, 10))};
}

std::vector<std::string> LoadSymbolTable(const std::string& path) {
  return SymbolTableEntries(ReadTableFile(path));
}

std::vector<std::string> SymbolTableEntries(const std::string& bytes) {
  std::vector<std::string> entries = SplitLines(bytes);
  // Older files hold 8-bit names; a line that is not UTF-8 is one of those.
  for (std::string& entry : entries)
    if (!IsValidUtf8(entry)) entry = Latin1ToUtf8(entry);
  return entries;
}

void SaveSymbolTable(const std::string& path, const std::vector<std::string>& entries) {
  ReplaceFileContents(path, SymbolTableBytes(entries, path));
}

std::string SymbolTableBytes(const std::vector<std::string>& entries, const std::string& path) {
  std::string bytes;
  for (const std::string& entry : entries) {
    if (entry.find_first_of("\r\n") != std::string::npos)
      throw EInOutError(FormatMessage("Unable to write to %s", path) +
                        ": an entry holds a line break");
    bytes += entry;
    bytes += "\r\n";
  }
  return bytes;
}

std::optional<uint32_t> SymbolOfColor(uint32_t color, uint32_t symbols, uint32_t colors) {
  if (color >= symbols || colors == 0) return std::nullopt;
  const double step = double(symbols) / double(colors);
  const int64_t symbol = RoundHalfEven(double(color) * step);
  return uint32_t(std::min<int64_t>(symbol, int64_t(symbols) - 1));
}

const std::string& SymbolTable::Entry(int32_t index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds");
  return entries_[size_t(index)];
}
