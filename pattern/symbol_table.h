#pragma once
// The symbol table: the ordered chart symbols, each an entry "font name,code" (a character
// of a font), kept in the file carac.tbl. Color k of a palette gets its symbol by position
// alone (SymbolOfColor).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the character table's "&Clear the table" leaves behind.
inline constexpr const char* kDefaultSymbolEntry = "wingdings,32";

struct SymbolEntry {
  std::string FontName;  // exactly as stored, letter case included
  int32_t Code = 0;      // may exceed 255
  // The character drawn: the code's low 8 bits.
  uint8_t Character() const { return uint8_t(uint32_t(Code) & 0xFF); }
  bool operator==(const SymbolEntry&) const = default;
};

// The font name is the text before the first comma and the code the up to 10 characters
// after it, read by StrToInt. A malformed code, and an entry without a comma (it has no
// code), raise EConvertError "'<text>' is not a valid integer value", naming the code text,
// or the whole entry when there is no comma.
SymbolEntry ParseSymbolEntry(std::string_view entry);

// The lines of a symbol table file: UTF-8 text where CR LF, LF or CR each end a line; a
// line that is not valid UTF-8 is read as Latin-1 (entries are UTF-8 in memory); an empty
// file is an empty table. Raises EInOutError "Unable to read <path>".
// Only a regular file of at most kSmallFileLimit bytes is read.
std::vector<std::string> LoadSymbolTable(const std::string& path);
// The entries the bytes of a symbol table file hold.
std::vector<std::string> SymbolTableEntries(const std::string& bytes);
// The bytes of a symbol table file of the entries, written as they are (UTF-8); EInOutError naming
// `path` for an entry holding CR or LF.
std::string SymbolTableBytes(const std::vector<std::string>& entries, const std::string& path);
// Replaces the file as a whole, every entry ending in CR LF. An entry holding CR or LF would
// not read back as one entry: it raises EInOutError before the file is touched, as does any
// failure to write ("Unable to write to <path>").
void SaveSymbolTable(const std::string& path, const std::vector<std::string>& entries);

// The symbol of color `color` of a palette of `colors` colors, with `symbols` symbols:
// round(color * (symbols / colors)), the quotient formed first, halves to even, at most
// symbols - 1; none when color is not below symbols or there are no colors.
std::optional<uint32_t> SymbolOfColor(uint32_t color, uint32_t symbols, uint32_t colors);

class SymbolTable {
 public:
  SymbolTable() = default;
  explicit SymbolTable(std::vector<std::string> entries) : entries_(std::move(entries)) {}

  int32_t Count() const { return int32_t(entries_.size()); }
  const std::vector<std::string>& Entries() const { return entries_; }
  // Raises EListError for an index outside the table.
  const std::string& Entry(int32_t index) const;
  void SetEntries(std::vector<std::string> entries) { entries_ = std::move(entries); }
  // The table becomes the one entry kDefaultSymbolEntry.
  void ClearToDefault() { entries_ = {kDefaultSymbolEntry}; }

  // On failure the table stays as it was.
  void LoadFromFile(const std::string& path) { entries_ = LoadSymbolTable(path); }
  void SaveToFile(const std::string& path) const { SaveSymbolTable(path, entries_); }

  SymbolEntry Parse(int32_t index) const { return ParseSymbolEntry(Entry(index)); }
  std::optional<uint32_t> SymbolOfColor(uint32_t color, uint32_t colors) const {
    return ::SymbolOfColor(color, uint32_t(entries_.size()), colors);
  }

 private:
  std::vector<std::string> entries_;
};
