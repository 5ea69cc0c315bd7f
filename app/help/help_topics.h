#pragma once
// The help contents: topics.tsv of the help folder read into a table. Each line is
// id TAB page[#anchor] TAB title TAB level (1 to 3); the order of the lines is the order
// of the contents. Blank lines and lines starting with "#" are skipped.

#include <string>
#include <string_view>
#include <vector>

#include "base/exceptions.h"

// A topics table that cannot be used; the message names the line and what is wrong.
class EHelpTopics : public Exception {
 public:
  using Exception::Exception;
};

struct HelpTopic {
  std::string id;
  std::string page;    // a file name of the help folder, "color_table.html"
  std::string anchor;  // the name of an <a name> on that page, or empty for its top
  std::string title;
  int level = 1;  // depth in the contents, 1 to 3
};

class HelpTopics {
 public:
  // Raises EHelpTopics for a damaged line; `source` names the text in the message.
  static HelpTopics Parse(std::string_view text, const std::string& source = "topics.tsv");
  // Raises EHelpTopics also when the file cannot be read.
  static HelpTopics Load(const std::string& path);

  const std::vector<HelpTopic>& All() const { return topics_; }
  // The topic with this id (ids are compared exactly), or null.
  const HelpTopic* Find(std::string_view id) const;

 private:
  std::vector<HelpTopic> topics_;
};

// The file name of the topics table inside the help folder.
inline constexpr const char* kHelpTopicsFile = "topics.tsv";
