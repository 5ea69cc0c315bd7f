#include "app/ini_file.h"

#include <stdexcept>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "base/int_parse.h"
#include "base/whole_file.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}
bool IsLineBreak(char c) {
  return c == '\n' || c == '\r';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

bool QuotedPair(std::string_view text) {
  return text.size() >= 2 && IsQuote(text.front()) && text.front() == text.back();
}

// What one line of the file is; names and values point into the line's text.
struct Parsed {
  enum Kind { kBlank, kComment, kSection, kKey, kOther } kind = kBlank;
  std::string_view name;   // section name or key
  std::string_view value;  // trimmed, quotes still on
  size_t afterEquals = 0;  // offset of the text after the key's '='
};

Parsed ParseLine(std::string_view line) {
  Parsed parsed;
  std::string_view text = Trim(line);
  if (text.empty()) return parsed;
  size_t start = size_t(text.data() - line.data());
  if (text.front() == ';') {
    parsed.kind = Parsed::kComment;
    return parsed;
  }
  if (text.front() == '[') {
    // The name runs to the last ']' so that a name may itself hold one.
    if (size_t close = text.rfind(']'); close != std::string_view::npos) {
      parsed.kind = Parsed::kSection;
      parsed.name = Trim(text.substr(1, close - 1));
      return parsed;
    }
  }
  size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    parsed.kind = Parsed::kOther;
    return parsed;
  }
  parsed.kind = Parsed::kKey;
  parsed.name = Trim(text.substr(0, equals));
  parsed.value = Trim(text.substr(equals + 1));
  parsed.afterEquals = start + equals + 1;
  return parsed;
}

// A value as the file must hold it to give back exactly these bytes: blanks at either
// end or a quoted pair would otherwise be dropped on reading, so such a value is quoted.
std::string StoredValue(std::string_view value) {
  bool needsQuotes =
      !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || QuotedPair(value));
  if (!needsQuotes) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

void CheckName(std::string_view name, bool isKey) {
  bool bad = Trim(name).size() != name.size();
  for (char c : name) bad = bad || IsLineBreak(c) || (isKey && c == '=');
  if (isKey && !name.empty()) bad = bad || name.front() == ';' || name.front() == '[';
  if (bad)
    throw std::invalid_argument(std::string(isKey ? "key" : "section") + " name \"" +
                                std::string(name) + "\" cannot be stored in a profile file");
}

Parsed::Kind KindOf(int kind) {
  return Parsed::Kind(kind);
}

}  // namespace

void IniFile::Describe(Line& line) {
  const Parsed parsed = ParseLine(line.text);
  const char* start = line.text.data();
  line.kind = parsed.kind;
  line.nameAt = parsed.name.empty() ? 0 : size_t(parsed.name.data() - start);
  line.nameLength = parsed.name.size();
  line.valueAt = parsed.value.empty() ? 0 : size_t(parsed.value.data() - start);
  line.valueLength = parsed.value.size();
  line.afterEquals = parsed.afterEquals;
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {
  std::string bytes;
  unreadable_ = ReadWholeFile(path_, bytes) == WholeFile::kUnreadable;
  Parse(bytes);
}

IniFile IniFile::FromBytes(const std::string& bytes) {
  IniFile file;
  file.Parse(bytes);
  return file;
}

void IniFile::Parse(const std::string& bytes) {
  bool endSeen = false;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t stop = at;
    while (stop < bytes.size() && !IsLineBreak(bytes[stop])) ++stop;
    Line line{bytes.substr(at, stop - at), {}};
    if (stop < bytes.size()) {
      size_t endLength =
          bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n' ? 2 : 1;
      line.end = bytes.substr(stop, endLength);
      stop += endLength;
      if (!endSeen) newLine_ = line.end;
      endSeen = true;
    }
    Describe(line);
    lines_.push_back(std::move(line));
    at = stop;
  }
}

std::optional<size_t> IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (KindOf(line.kind) == Parsed::kSection &&
        SameAscii(std::string_view(line.text).substr(line.nameAt, line.nameLength), section))
      return i;
  }
  return std::nullopt;
}

size_t IniFile::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && KindOf(lines_[i].kind) != Parsed::kSection) ++i;
  return i;
}

std::optional<size_t> IniFile::FindKey(std::string_view section, std::string_view key) const {
  auto header = FindSection(section);
  if (!header) return std::nullopt;
  size_t end = SectionEnd(*header);
  for (size_t i = *header + 1; i < end; ++i) {
    const Line& line = lines_[i];
    if (KindOf(line.kind) == Parsed::kKey &&
        SameAscii(std::string_view(line.text).substr(line.nameAt, line.nameLength), key))
      return i;
  }
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  std::string_view value = defaultValue;
  if (auto line = FindKey(section, key)) {
    const Line& found = lines_[*line];
    value = std::string_view(found.text).substr(found.valueAt, found.valueLength);
    if (QuotedPair(value)) value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  std::optional<int32_t> value;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    value = TryHexToInt(std::string_view(text).substr(2));
  else
    value = TryStrToInt(text);
  return value.value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::InsertLine(size_t at, std::string text) {
  // The line before gets a line end if it was the file's last line without one.
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newLine_;
  Line line{std::move(text), newLine_};
  Describe(line);
  lines_.insert(lines_.begin() + std::ptrdiff_t(at), std::move(line));
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  CheckName(section, false);
  CheckName(key, true);
  for (char c : value)
    if (IsLineBreak(c)) FailWrite(path_);
  std::string stored = StoredValue(value);

  if (auto line = FindKey(section, key)) {
    // Keep the key as the file spells it, with its indentation and the '='.
    Line& found = lines_[*line];
    found.text = found.text.substr(0, found.afterEquals) + stored;
    Describe(found);
    return;
  }
  std::string keyLine = std::string(key) + "=" + stored;
  if (auto header = FindSection(section)) {
    // After the section's last entry, so blank lines and comments that lead into the
    // next section stay in front of it.
    size_t at = *header + 1;
    for (size_t i = at, end = SectionEnd(*header); i < end; ++i) {
      auto kind = KindOf(lines_[i].kind);
      if (kind != Parsed::kBlank && kind != Parsed::kComment) at = i + 1;
    }
    InsertLine(at, std::move(keyLine));
    return;
  }
  if (!lines_.empty() && KindOf(lines_.back().kind) != Parsed::kBlank)
    InsertLine(lines_.size(), "");
  InsertLine(lines_.size(), "[" + std::string(section) + "]");
  InsertLine(lines_.size(), std::move(keyLine));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + line.end;
  return text;
}

void IniFile::FailWrite(const std::string& path) const {
  throw EInOutError(FormatMessage("Unable to write to %s", path));
}

void IniFile::Save() const {
  // What could not be read cannot be written back whole: refuse rather than lose it.
  if (unreadable_) FailWrite(path_);
  SaveAs(path_);
}

void IniFile::SaveAs(const std::string& path) const {
  if (path.empty() || path.back() == '/') FailWrite(path);
  try {
    ReplaceFileContents(path, Text());
  } catch (const EInOutError&) {
    FailWrite(path);
  }
}
