#include "app/help/help_topics.h"

#include <algorithm>

#include "base/int_parse.h"
#include "base/whole_file.h"

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// A page must stay inside the help folder: a plain file name of an HTML page.
bool IsPlainPageName(std::string_view page) {
  const bool html = page.size() > 5 && page.substr(page.size() - 5) == ".html";
  return html && page.find_first_of("/\\:") == std::string_view::npos && page.front() != '.';
}

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
  });
}

class LineReader {
 public:
  LineReader(std::string source, size_t number)
      : where_(source + " line " + std::to_string(number)) {}

  [[noreturn]] void Fail(const std::string& what) const { throw EHelpTopics(where_ + ": " + what); }

  HelpTopic Read(std::string_view line) const {
    const auto fields = SplitTabs(line);
    if (fields.size() != 4)
      Fail("expected 4 fields separated by tabs (id, page, title, level), found " +
           std::to_string(fields.size()));
    HelpTopic topic;
    topic.id = std::string(fields[0]);
    if (!IsToken(fields[0])) Fail("the id \"" + topic.id + "\" is empty or holds blanks");
    const std::string_view target = fields[1];
    const size_t hash = target.find('#');
    const std::string_view page = target.substr(0, hash);
    if (!IsPlainPageName(page))
      Fail("the page \"" + std::string(page) + "\" is not an .html file of the help folder");
    topic.page = std::string(page);
    if (hash != std::string_view::npos) {
      const std::string_view anchor = target.substr(hash + 1);
      if (!IsToken(anchor)) Fail("the anchor after \"#\" is empty or holds blanks");
      topic.anchor = std::string(anchor);
    }
    topic.title = std::string(fields[2]);
    if (topic.title.empty()) Fail("the title is empty");
    const auto level = TryStrToInt(fields[3]);
    if (!level || *level < 1 || *level > 3)
      Fail("the level \"" + std::string(fields[3]) + "\" is not 1, 2 or 3");
    topic.level = *level;
    return topic;
  }

 private:
  std::string where_;
};

}  // namespace

HelpTopics HelpTopics::Parse(std::string_view text, const std::string& source) {
  HelpTopics table;
  const auto lines = SplitLines(std::string(text));
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line.front() == '#') continue;
    const LineReader reader(source, i + 1);
    HelpTopic topic = reader.Read(line);
    const int previous = table.topics_.empty() ? 0 : table.topics_.back().level;
    if (topic.level > previous + 1)
      reader.Fail("level " + std::to_string(topic.level) + " follows level " +
                  std::to_string(previous) + " (the contents go one level deeper at a time)");
    if (table.Find(topic.id)) reader.Fail("the id \"" + topic.id + "\" is listed twice");
    table.topics_.push_back(std::move(topic));
  }
  if (table.topics_.empty()) throw EHelpTopics(source + ": no topics");
  return table;
}

HelpTopics HelpTopics::Load(const std::string& path) {
  std::string bytes;
  switch (ReadWholeFile(path, bytes)) {
    case WholeFile::kRead:
      return Parse(bytes, path);
    case WholeFile::kMissing:
      throw EHelpTopics(path + ": the help contents are missing");
    case WholeFile::kUnreadable:
      break;
  }
  throw EHelpTopics(path + ": the help contents cannot be read");
}

const HelpTopic* HelpTopics::Find(std::string_view id) const {
  const auto found =
      std::find_if(topics_.begin(), topics_.end(), [&](const HelpTopic& t) { return t.id == id; });
  return found == topics_.end() ? nullptr : &*found;
}
