// puntel-cli chartable: the table drawn as the dialog's grid, and its sort by ink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pattern/symbol_table.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/temp_folder.h"

namespace {

// Width and height from a PNG's header.
std::pair<uint32_t, uint32_t> PngSize(const std::string& bytes) {
  auto word = [&](size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | uint8_t(bytes.at(at + i));
    return value;
  };
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  return {word(16), word(20)};
}

class ChartableCli : public ::testing::Test {
 protected:
  void SetUp() override {
    SaveSymbolTable(table_, {"DejaVu Sans,77", "wingdings,108", "Wingdings,36", "ARIAL,-191",
                             "wingdings,32", "bad,x"});
  }
  std::string File(const std::string& name) const { return folder_.File(name); }

  TempFolder folder_;
  const std::string table_ = folder_.File("carac.tbl");
};

TEST_F(ChartableCli, RenderDrawsTheGridAndTellsWhatEachEntryDrew) {
  const CliResult result =
      RunCli("chartable render " + Quoted(table_) + " " + Quoted(File("t.png")) + " --cell 24");
  ASSERT_EQ(result.status, 0) << result.err;
  // 20 cells of 24 pixels and their grid lines across, one row for six entries.
  EXPECT_EQ(PngSize(ReadFileBytes(File("t.png"))), std::make_pair(500u, 25u));
  EXPECT_NE(result.err.find("'x' is not a valid integer value"), std::string::npos);
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1].substr(0, lines[1].rfind('\t')), "1\twingdings,108\tDejaVu Sans\tU+25CF");
  EXPECT_EQ(lines[2].substr(0, lines[2].rfind('\t')), "2\tWingdings,36\tDejaVu Sans\tdigits 36");
  EXPECT_EQ(lines[3].substr(0, lines[3].rfind('\t')), "3\tARIAL,-191\tLiberation Sans\tU+0041");
  EXPECT_EQ(lines[4], "4\twingdings,32\tDejaVu Sans\tU+0020\t" +
                          lines[1].substr(lines[1].rfind('\t') + 1));  // one size per font
  EXPECT_EQ(lines[5], "5\tbad,x\t-\t-\t-");
  const CliResult plain =
      RunCli("chartable render " + Quoted(table_) + " " + Quoted(File("d.png")));
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(PngSize(ReadFileBytes(File("d.png"))), std::make_pair(420u, 21u));
}

TEST_F(ChartableCli, SortWritesTheTableLightestFirst) {
  const CliResult result =
      RunCli("chartable sort " + Quoted(table_) + " -o " + Quoted(File("s.tbl")));
  ASSERT_EQ(result.status, 0) << result.err;
  const auto sorted = LoadSymbolTable(File("s.tbl"));
  ASSERT_EQ(sorted.size(), 6u);
  // The blank and the entry that does not parse are all white; the others have ink.
  EXPECT_EQ(sorted[0], "wingdings,32");
  EXPECT_EQ(sorted[1], "bad,x");
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "400\twingdings,32");
  EXPECT_EQ(lines[1], "400\tbad,x");
  uint32_t previous = 400;
  for (size_t i = 0; i < lines.size(); ++i) {
    const uint32_t whiteness = uint32_t(std::stoul(lines[i]));
    EXPECT_LE(whiteness, previous);
    EXPECT_EQ(lines[i].substr(lines[i].find('\t') + 1), sorted[i]);
    previous = whiteness;
  }
  EXPECT_EQ(LoadSymbolTable(table_).front(), "DejaVu Sans,77");  // -o leaves the input
  ASSERT_EQ(RunCli("chartable sort " + Quoted(table_)).status, 0);
  EXPECT_EQ(LoadSymbolTable(table_), sorted);
}

TEST_F(ChartableCli, ErrorsWriteNothing) {
  const CliResult missing =
      RunCli("chartable render " + Quoted(File("none.tbl")) + " " + Quoted(File("t.png")));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Unable to read"), std::string::npos) << missing.err;
  EXPECT_EQ(RunCli("chartable render " + Quoted(table_) + " " + Quoted(File("t.png")) + " --cell 0")
                .status,
            1);
  EXPECT_EQ(RunCli("chartable render " + Quoted(table_) + " " + Quoted(File("no/t.png"))).status,
            1);
  EXPECT_EQ(ListFolder(folder_.Path()), "carac.tbl");
  EXPECT_EQ(RunCli("chartable sort").status, 1);
  EXPECT_EQ(RunCli("chartable draw x").status, 1);
  // The help that the unknown command points to lists both commands.
  const CliResult help = RunCli("chartable --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("chartable render TABLE.tbl"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("chartable sort TABLE.tbl"), std::string::npos);
  const CliResult none = RunCli("chartable");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("chartable render"), std::string::npos) << none.err;
}

}  // namespace
