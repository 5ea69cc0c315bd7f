#pragma once
// One brand's floss table: thread number and description, as the project's
// resources/floss/*.tsv files hold them (number, description, red, green, blue after a
// header line, tab-separated).

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class FlossTable {
 public:
  FlossTable() = default;  // holds no thread

  // The table of a file's bytes. A line without five fields raises EInOutError naming
  // `what` and the line.
  static FlossTable FromBytes(const std::string& bytes, const std::string& what);
  // Raises EInOutError "Unable to read <path>" when the file cannot be read.
  static FlossTable Load(const std::string& path);

  size_t Count() const { return exact_.size(); }
  // The description of a plain thread: the number matched exactly, then with letter case
  // ignored; none when the table lacks it.
  std::optional<std::string> Find(std::string_view number) const;
  // Find for a plain name; a blend "A+B" joins its two threads' descriptions with " + "
  // (both must be found). Empty when there is no match.
  std::string Description(const std::string& name) const;

 private:
  void Add(const std::string& number, const std::string& description);

  std::unordered_map<std::string, std::string> exact_;
  std::unordered_map<std::string, std::string> folded_;  // lower-case numbers, first wins
};
