#include "app/help/help_topics.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace {

TEST(HelpTopics, ReadsIdsPagesAnchorsTitlesAndLevelsInOrder) {
  const auto table = HelpTopics::Parse(
      "# id\tpage\ttitle\tlevel\n"
      "contents\tindex.html\tContents\t1\r\n"
      "\n"
      "PUNTEL0005\tcolor_table.html\tColor table\t2\n"
      "add-color\tcolor_table.html#add-color\tAdding a colour\t3");
  ASSERT_EQ(table.All().size(), 3u);
  EXPECT_EQ(table.All()[0].id, "contents");
  EXPECT_EQ(table.All()[0].anchor, "");
  const HelpTopic* add = table.Find("add-color");
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add->page, "color_table.html");
  EXPECT_EQ(add->anchor, "add-color");
  EXPECT_EQ(add->title, "Adding a colour");
  EXPECT_EQ(add->level, 3);
  EXPECT_EQ(table.Find("puntel0005"), nullptr);
}

TEST(HelpTopics, DamagedLinesNameTheirLineAndFault) {
  const std::string good = "contents\tindex.html\tContents\t1\n";
  const struct {
    const char* line;
    const char* says;
  } cases[] = {
      {"a\tpage.html\tTitle", "expected 4 fields"},
      {"a\tpage.html\tTitle\t2\textra", "found 5"},
      {"\tpage.html\tTitle\t2", "id"},
      {"two words\tpage.html\tTitle\t2", "id"},
      {"a\t../outside.html\tTitle\t2", "not an .html file"},
      {"a\thttp://example.org/x.html\tTitle\t2", "not an .html file"},
      {"a\t/etc/x.html\tTitle\t2", "not an .html file"},
      {"a\tpage.txt\tTitle\t2", "not an .html file"},
      {"a\tpage.html#\tTitle\t2", "anchor"},
      {"a\tpage.html\t\t2", "title"},
      {"a\tpage.html\tTitle\t0", "level \"0\""},
      {"a\tpage.html\tTitle\t4", "level \"4\""},
      {"a\tpage.html\tTitle\ttwo", "level \"two\""},
      {"a\tpage.html\tTitle\t3", "level 3 follows level 1"},
      {"contents\tpage.html\tTitle\t2", "listed twice"},
  };
  for (const auto& c : cases) {
    try {
      HelpTopics::Parse(good + c.line + "\n");
      ADD_FAILURE() << "accepted: " << c.line;
    } catch (const EHelpTopics& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("topics.tsv line 2: "), std::string::npos) << message;
      EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
  }
  EXPECT_THROW(HelpTopics::Parse("a\tpage.html\tTitle\t2\n"), EHelpTopics);  // starts deep
  EXPECT_THROW(HelpTopics::Parse("# only a comment\n"), EHelpTopics);
}

TEST(HelpTopics, LoadReadsAFileAndNamesAMissingOne) {
  TempFolder folder;
  const std::string path = folder.File("topics.tsv");
  EXPECT_THROW(HelpTopics::Load(path), EHelpTopics);
  WriteFileBytes(path, "contents\tindex.html\tContents\t1\n");
  EXPECT_EQ(HelpTopics::Load(path).All().size(), 1u);
}

}  // namespace
