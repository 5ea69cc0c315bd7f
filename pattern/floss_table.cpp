#include "pattern/floss_table.h"

#include <sstream>
#include <vector>

#include "base/exceptions.h"
#include "base/latin1.h"
#include "base/whole_file.h"
#include "palette/floss_palette.h"

namespace {

// The three tables hold some 450 rows each; a file far larger is not one of them.
constexpr size_t kTableFileLimit = size_t(4) << 20;

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

}  // namespace

FlossTable FlossTable::FromBytes(const std::string& bytes, const std::string& what) {
  FlossTable table;
  const std::vector<std::string> lines = SplitLines(bytes);
  for (size_t k = 1; k < lines.size(); ++k) {  // line 0 is the header
    if (lines[k].empty()) continue;
    const std::vector<std::string> fields = SplitTabs(lines[k]);
    if (fields.size() != 5)
      throw EInOutError(what + ": line " + std::to_string(k + 1) + " is no floss row");
    table.Add(fields[0], fields[1]);
  }
  return table;
}

FlossTable FlossTable::Load(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes, kTableFileLimit) != WholeFile::kRead)
    throw EInOutError("Unable to read " + path);
  return FromBytes(bytes, path);
}

void FlossTable::Add(const std::string& number, const std::string& description) {
  exact_.emplace(number, description);
  folded_.emplace(LowerAscii(number), description);
}

std::optional<std::string> FlossTable::Find(std::string_view number) const {
  if (auto found = exact_.find(std::string(number)); found != exact_.end()) return found->second;
  if (auto found = folded_.find(LowerAscii(number)); found != folded_.end()) return found->second;
  return std::nullopt;
}

std::string FlossTable::Description(const std::string& name) const {
  std::string first, second;
  if (!SplitBlend(name, first, second)) return Find(name).value_or("");
  const auto a = Find(first), b = Find(second);
  return a && b ? *a + " + " + *b : "";
}
