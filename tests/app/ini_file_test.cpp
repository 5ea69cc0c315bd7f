#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "base/exceptions.h"
#include "tests/support/temp_folder.h"

namespace {

IniFile FromText(const TempFolder& folder, const std::string& text) {
  WriteFileBytes(folder.File("test.ini"), text);
  return IniFile(folder.File("test.ini"));
}

TEST(IniFileRead, ProfileRules) {
  TempFolder folder;
  std::string longValue(1500, 'v');
  IniFile ini = FromText(folder,
                         "top=outside\n[Other]\nXpos=1\n"
                         "[puntel32]\r\n  Xpos = 10 \r\nxpos=20\r\n;c=commented\r\n"
                         "a=\"  quoted  \"\rb='x\"\nc=\"\"\"\"\nd=one=two\nlong=" +
                             longValue + "\n[PUNTEL32]\nypos=30");
  EXPECT_EQ(ini.ReadString("PUNTEL32", "XPOS", "d"), "10");  // first occurrence wins
  EXPECT_EQ(ini.ReadString("OTHER", "xpos", "d"), "1");
  EXPECT_EQ(ini.ReadString("PUNTEL32", "ypos", "d"), "d");  // only the first section counts
  EXPECT_EQ(ini.ReadString("", "top", "d"), "d");           // before any header
  EXPECT_EQ(ini.ReadString("PUNTEL32", ";c", "d"), "d");
  EXPECT_EQ(ini.ReadString("PUNTEL32", "a", "d"), "  quoted  ");
  EXPECT_EQ(ini.ReadString("PUNTEL32", "b", "d"), "'x\"");  // quotes must match
  EXPECT_EQ(ini.ReadString("PUNTEL32", "c", "d"), "\"\"");  // one pair only
  EXPECT_EQ(ini.ReadString("PUNTEL32", "d", "d"), "one=two");
  EXPECT_EQ(ini.ReadString("PUNTEL32", "long", ""), std::string(1023, 'v'));
  EXPECT_EQ(ini.ReadString("PUNTEL32", "none", longValue), std::string(1023, 'v'));
}

TEST(IniFileRead, IntegersDecimalOrHexElseDefault) {
  TempFolder folder;
  IniFile ini = FromText(folder,
                         "[S]\nhex=0x12\nupper=0XfF\nbare=0x\nletters=abc\nneg=-7\n"
                         "wide=0x123456789\nwrap=0xFFFFFFFF\nbig=2147483648\nempty=\ntwo=2\n");
  for (auto [key, expected] : {std::pair{"hex", 18},
                               {"upper", 255},
                               {"bare", 5},
                               {"letters", 5},
                               {"neg", -7},
                               {"wide", 5},
                               {"wrap", -1},
                               {"big", 5},
                               {"empty", 5},
                               {"missing", 5}})
    EXPECT_EQ(ini.ReadInteger("S", key, 5), expected) << key;
  EXPECT_TRUE(ini.ReadBool("S", "two", false));
  EXPECT_FALSE(ini.ReadBool("S", "letters", false));
}

TEST(IniFileWrite, ChangesOnlyTheKeyAndKeepsEveryOtherByte) {
  TempFolder folder;
  std::string before =
      "; my notes\r\n[First]\r\n  CellSize = 20 \r\nother=keep\r\n\r\n"
      "; next one\r\n[Second]\r\nx=1";
  IniFile ini = FromText(folder, before);
  EXPECT_EQ(ini.Text(), before);
  ini.WriteInteger("first", "cellsize", 25);
  ini.WriteString("First", "added", "a");
  ini.WriteString("Second", "y", "2");
  ini.WriteString("Third", "z", "3");
  ini.Save();
  EXPECT_EQ(ReadFileBytes(folder.File("test.ini")),
            "; my notes\r\n[First]\r\n  CellSize =25\r\nother=keep\r\nadded=a\r\n\r\n"
            "; next one\r\n[Second]\r\nx=1\r\ny=2\r\n\r\n[Third]\r\nz=3\r\n");
}

TEST(IniFileWrite, ValuesReadBackExactlyOrAreRefused) {
  TempFolder folder;
  IniFile ini(folder.File("new.ini"));
  for (std::string value : {"  padded ", "\"quoted\"", "'single'", "", "\""}) {
    ini.WriteString("S", "k", value);
    EXPECT_EQ(ini.ReadString("S", "k", "d"), value);
  }
  ini.WriteBool("S", "b", true);
  try {
    ini.WriteString("S", "k", "two\nlines");
    FAIL() << "a line break was accepted";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(), "Unable to write to " + folder.File("new.ini"));
  }
  EXPECT_THROW(ini.WriteString("S", "a=b", "v"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("S", ";k", "v"), std::invalid_argument);
  EXPECT_EQ(ini.Text(), "[S]\nk=\"\nb=1\n");
}

TEST(IniFileSave, FailureNamesThePathAndLeavesNoTrace) {
  TempFolder folder;
  // A regular file where the folder should be stops the write even for root.
  std::string blocker = folder.File("file");
  WriteFileBytes(blocker, "keep");
  for (std::string path : {blocker + "/PUNTEL.INI", folder.File("missing/PUNTEL.INI")}) {
    IniFile ini(path);
    ini.WriteString("S", "k", "v");
    try {
      ini.Save();
      FAIL() << "saved to " << path;
    } catch (const EInOutError& error) {
      EXPECT_EQ(error.Message(), "Unable to write to " + path);
    }
  }
  // A folder in place of the file: the rename fails after the temporary file was written;
  // loaded, it is unreadable and refused before any write.
  std::string target = folder.File("target.ini");
  ASSERT_TRUE(std::filesystem::create_directory(target));
  EXPECT_THROW(IniFile().SaveAs(target), EInOutError);
  EXPECT_THROW(IniFile(target).Save(), EInOutError);
  EXPECT_EQ(ListFolder(folder.Path()), "file target.ini");
  EXPECT_EQ(ReadFileBytes(blocker), "keep");
}

}  // namespace
