// The shipped help pages against the program: every topic the program asks for leads to a
// page and an anchor that exist, every link stays inside the help folder, every page is in
// the contents and every menu command is explained somewhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "app/help/help_ids.h"
#include "app/help/help_topics.h"
#include "app/ui/commands.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

const std::string kHelpFolder = std::string(PUNTEL_SOURCE_DIR) + "/resources/help/";

// The pages of the folder by file name, with their text.
std::map<std::string, std::string> Pages() {
  std::map<std::string, std::string> pages;
  for (const auto& entry : fs::directory_iterator(kHelpFolder))
    if (entry.path().extension() == ".html")
      pages[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
  return pages;
}

std::set<std::string> Anchors(const std::string& html) {
  std::set<std::string> names;
  static const std::regex anchor(R"re(<a\s+name="([^"]+)")re", std::regex::icase);
  for (std::sregex_iterator i(html.begin(), html.end(), anchor), end; i != end; ++i)
    names.insert((*i)[1]);
  return names;
}

std::vector<std::string> Targets(const std::string& html) {
  std::vector<std::string> targets;
  static const std::regex target(R"re((?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
  for (std::sregex_iterator i(html.begin(), html.end(), target), end; i != end; ++i)
    targets.push_back((*i)[1]);
  return targets;
}

// What a reader sees: tags dropped, the entities the pages use decoded, blanks collapsed.
std::string VisibleText(const std::string& html) {
  std::string text = std::regex_replace(html, std::regex("<[^>]*>"), " ");
  for (const auto& [entity, c] :
       std::initializer_list<std::pair<const char*, const char*>>{{"&nbsp;", " "},
                                                                  {"&lt;", "<"},
                                                                  {"&gt;", ">"},
                                                                  {"&quot;", "\""},
                                                                  {"&#39;", "'"},
                                                                  {"&amp;", "&"}})
    text = std::regex_replace(text, std::regex(entity), c);
  return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

class HelpPages : public testing::Test {
 protected:
  HelpTopics topics_ = HelpTopics::Load(kHelpFolder + kHelpTopicsFile);
  std::map<std::string, std::string> pages_ = Pages();
};

TEST_F(HelpPages, EveryIdOfTheProgramLeadsToAnExistingPageAndAnchor) {
  for (const char* id : help_ids::kAllIds) {
    const HelpTopic* topic = topics_.Find(id);
    ASSERT_NE(topic, nullptr) << id << " is not in the topics table";
    ASSERT_TRUE(pages_.count(topic->page)) << id << ": no page " << topic->page;
    if (!topic->anchor.empty()) {
      EXPECT_TRUE(Anchors(pages_[topic->page]).count(topic->anchor))
          << id << ": no anchor " << topic->anchor << " on " << topic->page;
    }
  }
  EXPECT_EQ(topics_.All().front().id, help_ids::kContents);
  EXPECT_EQ(topics_.Find(help_ids::kContents)->page, "index.html");
}

TEST_F(HelpPages, EveryPageIsInTheContentsAndEveryTopicIsNamedByTheProgram) {
  std::set<std::string> listed;
  for (const HelpTopic& topic : topics_.All()) listed.insert(topic.page);
  for (const auto& [name, html] : pages_) EXPECT_TRUE(listed.count(name)) << name;
  const std::set<std::string> named(help_ids::kAllIds.begin(), help_ids::kAllIds.end());
  for (const HelpTopic& topic : topics_.All()) EXPECT_TRUE(named.count(topic.id)) << topic.id;
}

TEST_F(HelpPages, LinksAndPicturesStayInsideTheHelpFolder) {
  for (const auto& [name, html] : pages_) {
    EXPECT_EQ(html.find("<script"), std::string::npos) << name;
    for (const std::string& target : Targets(html)) {
      SCOPED_TRACE(name + " -> " + target);
      ASSERT_FALSE(target.empty());
      const size_t hash = target.find('#');
      const std::string file = target.substr(0, hash);
      const std::string anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
      // No scheme (http:, file:, mailto:), no absolute path, no folder at all.
      EXPECT_EQ(file.find_first_of(":/\\"), std::string::npos);
      if (!file.empty()) {
        EXPECT_TRUE(fs::is_regular_file(kHelpFolder + file));
      }
      const auto linked = pages_.find(file.empty() ? name : file);
      if (!anchor.empty()) {
        ASSERT_NE(linked, pages_.end());
        EXPECT_TRUE(Anchors(linked->second).count(anchor));
      }
    }
  }
}

TEST_F(HelpPages, EveryPictureOfTheFolderIsShownOnSomePage) {
  std::set<std::string> shown;
  for (const auto& [name, html] : pages_)
    for (const std::string& target : Targets(html)) shown.insert(target);
  for (const auto& entry : fs::directory_iterator(kHelpFolder)) {
    if (entry.path().extension() == ".png") {
      EXPECT_TRUE(shown.count(entry.path().filename().string())) << entry.path();
    }
  }
}

TEST_F(HelpPages, EveryMenuCommandIsExplainedByItsCaption) {
  std::string all;
  for (const auto& [name, html] : pages_) all += VisibleText(html) + "\n";
  for (const CommandInfo& info : AllCommands()) {
    std::string caption = info.text;
    caption = caption.substr(0, caption.find('\t'));
    std::erase(caption, '&');
    EXPECT_NE(all.find(caption), std::string::npos) << caption;
  }
}

TEST_F(HelpPages, TheBuildTreeHoldsTheSamePages) {
  const std::string copy = std::string(PUNTEL_RUNTIME_DIR) + "/help/";
  for (const auto& entry : fs::directory_iterator(kHelpFolder)) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(ReadFileBytes(copy + name), ReadFileBytes(entry.path().string())) << name;
  }
}

}  // namespace
