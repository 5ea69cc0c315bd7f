#include <gtest/gtest.h>

#include "palette/floss_palette.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/floss_table.h"
#include "tests/support/temp_folder.h"

namespace {

// "index<TAB>number<TAB>r<TAB>g<TAB>b" for each row of a floss table.
std::vector<std::string> TableAsDump(const std::string& table) {
  std::vector<std::string> rows;
  for (const FlossRow& row : ReadFlossTable(table))
    rows.push_back(std::to_string(rows.size()) + "\t" + row.number + "\t" + row.red + "\t" +
                   row.green + "\t" + row.blue);
  return rows;
}

}  // namespace

TEST(PaletteCli, DumpOfTheBuiltTablesListsEveryFlossInOrder) {
  auto dmc = RunCli("palette dump " + Quoted(kDmc));
  ASSERT_EQ(dmc.status, 0) << dmc.err;
  EXPECT_EQ(Lines(dmc.out), TableAsDump("dmc.tsv"));
  EXPECT_EQ(Lines(dmc.out).size(), 454u);
  for (auto [palette, table] :
       {std::pair{"anchor.clr", "anchor.tsv"}, {"madeira.clr", "madeira.tsv"}}) {
    auto result = RunCli("palette dump " + Quoted(std::string(PUNTEL_RUNTIME_DIR) + "/" + palette));
    EXPECT_EQ(Lines(result.out), TableAsDump(table)) << palette;
  }
}

TEST(PaletteCli, ConvertNearestThreadsSortAndMix) {
  TempFolder folder;
  auto converted = RunCli("palette convert " + Quoted(kDmc) + " " + Quoted(folder.File("d.cla")));
  ASSERT_EQ(converted.status, 0) << converted.err;
  EXPECT_EQ(ReadFileBytes(folder.File("d.cla")).substr(0, 7), "CWPAL\r\n");
  EXPECT_EQ(RunCli("palette dump " + Quoted(folder.File("d.cla"))).out,
            RunCli("palette dump " + Quoted(kDmc)).out);

  auto nearest = RunCli("palette nearest " + Quoted(kDmc) + " 0 0 0");
  EXPECT_EQ(nearest.out, "36\t310\n");  // 310 is the black floss
  EXPECT_EQ(RunCli("palette nearest " + Quoted(kDmc) + " 0 0 256").status, 1);

  WriteFileBytes(folder.File("mix.cla"),
                 "CWPAL\r\n100\r\n3\r\n0 0 0\r\n255 255 255\r\n9 9 9\r\n"
                 "310\r\nBlanc\r\n310+Blanc\r\n");
  EXPECT_EQ(RunCli("palette threads " + Quoted(folder.File("mix.cla"))).out, "310\nBlanc\n");
  ASSERT_EQ(
      RunCli("palette sort " + Quoted(folder.File("mix.cla")) + " " + Quoted(folder.File("s.clr")))
          .status,
      0);
  EXPECT_EQ(RunCli("palette dump " + Quoted(folder.File("s.clr"))).out,
            "0\tBlanc\t255\t255\t255\n1\t310+Blanc\t9\t9\t9\n2\t310\t0\t0\t0\n");
  WriteFileBytes(folder.File("two.cla"), "CWPAL\r\n100\r\n2\r\n0 0 0\r\n255 255 255\r\nA\r\nB\r\n");
  ASSERT_EQ(
      RunCli("palette mix " + Quoted(folder.File("two.cla")) + " " + Quoted(folder.File("m.clr")))
          .status,
      0);
  EXPECT_EQ(RunCli("palette dump " + Quoted(folder.File("m.clr"))).out,
            "0\tA\t0\t0\t0\n1\tB\t255\t255\t255\n2\tA+B\t127\t127\t127\n");
}

TEST(PaletteCli, ErrorsGoToStderrAndWriteNothing) {
  TempFolder folder;
  WriteFileBytes(folder.File("notes.txt"), "just some text\n");
  auto not_palette = RunCli("palette convert " + Quoted(folder.File("notes.txt")) + " " +
                            Quoted(folder.File("out.clr")));
  EXPECT_EQ(not_palette.status, 1);
  EXPECT_NE(not_palette.err.find("not a palette file"), std::string::npos) << not_palette.err;
  EXPECT_EQ(not_palette.out, "");
  EXPECT_FALSE(FileExists(folder.File("out.clr")));

  auto missing = RunCli("palette dump " + Quoted(folder.File("none.clr")));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("File not found"), std::string::npos);

  EXPECT_EQ(RunCli("palette dump").status, 1);
  EXPECT_EQ(RunCli("palette frobnicate x").status, 1);
  EXPECT_EQ(RunCli("nonsense").status, 1);
  auto help = RunCli("palette nearest --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: puntel-cli palette nearest FILE R G B"), std::string::npos);
  EXPECT_EQ(RunCli("--help").status, 0);
}
