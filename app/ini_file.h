#pragma once
// A profile file ("[SECTION]" headers, "key=value" lines) read and written with the
// rules of the classic profile functions: sections and keys match without regard to
// ASCII case, the first occurrence wins, blanks around keys and values are dropped, one
// pair of matching quotes around a value is dropped, ';' starts a comment line.
// Writing changes only the line of the key (or adds one); every other byte of the file,
// line ends included, is kept.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniFile {
 public:
  // Values are read up to this many bytes; a longer value is cut.
  static constexpr size_t kMaxValueLength = 1023;

  // An empty file with no path (Save() writes to an empty path and fails).
  IniFile() = default;
  // Loads the file at `path`. A missing or unreadable file reads as an empty one, since a
  // missing key is never an error; an existing file that could not be read is never
  // overwritten by Save().
  // The file is read only when it is a regular file of at most kSmallFileLimit bytes;
  // anything else (a device, a pipe, a folder) is an unreadable file.
  explicit IniFile(std::string path);
  // The bytes of a profile file, read as the constructor reads a file; no path.
  static IniFile FromBytes(const std::string& bytes);

  const std::string& Path() const { return path_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X" when the value is longer than two
  // characters; a missing or unreadable value yields the default.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Sets the key in place when it exists, else adds it at the end of its section (the
  // section is added at the end of the file when missing). A value holding a line break
  // cannot be stored: EInOutError "Unable to write to <path>", nothing changed. A section
  // or key name the file could not give back raises std::invalid_argument.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // The bytes Save() would write.
  std::string Text() const;
  // Replaces the file at Path() atomically; EInOutError "Unable to write to <path>" on
  // failure, the old file left as it was.
  void Save() const;
  // As Save(), to another file.
  void SaveAs(const std::string& path) const;

 private:
  void Parse(const std::string& bytes);
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\n", "\r\n", "\r", or empty on a last line without one
    // What the text is, found once whenever it is set, so lookups need not parse it again:
    // its kind and where its name and value lie in it.
    int kind = 0;
    size_t nameAt = 0, nameLength = 0, valueAt = 0, valueLength = 0, afterEquals = 0;
  };
  static void Describe(Line& line);
  std::optional<size_t> FindSection(std::string_view section) const;
  // One past the section's last line (the next header or the end of the file).
  size_t SectionEnd(size_t header) const;
  std::optional<size_t> FindKey(std::string_view section, std::string_view key) const;
  void InsertLine(size_t at, std::string text);
  [[noreturn]] void FailWrite(const std::string& path) const;

  std::string path_;
  std::vector<Line> lines_;
  std::string newLine_ = "\n";  // line end of added lines: the file's own
  bool unreadable_ = false;
};
