#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "base/exceptions.h"
#include "tests/support/temp_folder.h"

namespace {

const SettingsDefaults kDefaults{"/opt/puntel/", "/home/user/start/"};

TSettings ReadFrom(const std::string& path) {
  return ReadSettings(IniFile(path), kDefaults);
}

TEST(ReadSettings, DefaultsAndPaletteFollowingProgpath) {
  TempFolder folder;
  std::string path = folder.File("PUNTEL.INI");
  TSettings expected;
  expected.PalFile = "/opt/puntel/dmc25.clr";
  expected.progpath = "/opt/puntel/";
  expected.Imagepath = expected.Compopath = expected.ColorPath = "/home/user/start/";
  EXPECT_EQ(ReadFrom(path), expected);
  EXPECT_EQ(ReadGeometry(IniFile(path)), WindowGeometry{});

  WriteFileBytes(path, "[PUNTEL32]\nPROGPATH=/data/pt/\n");
  expected.PalFile = "/data/pt/dmc25.clr";
  expected.progpath = "/data/pt/";
  EXPECT_EQ(ReadFrom(path), expected);
}

TEST(ReadSettings, NumbersFollowTheIntegerRule) {
  TempFolder folder;
  std::string path = folder.File("PUNTEL.INI");
  for (auto [text, expected] : {std::pair{"0x12", 18}, {"abc", 18}, {"0x", 18}, {"20", 20}}) {
    WriteFileBytes(path, std::string("[PUNTEL32]\nCellSize=") + text + "\n");
    EXPECT_EQ(ReadFrom(path).CellSize, expected) << text;
  }
  WriteFileBytes(path,
                 "[PUNTEL32]\nlanguage=-1\nUnit=259\nJpeg Compression=0x1FF\n"
                 "FinInWindow=2\nAutoRemap=0\n");
  TSettings s = ReadFrom(path);
  EXPECT_EQ(s.language, 65535);  // low 16 bits
  EXPECT_EQ(s.Unit, 3);          // low 8 bits
  EXPECT_EQ(s.JpegCompression, 255);
  EXPECT_TRUE(s.FinInWindow);
  EXPECT_FALSE(s.AutoRemap);
  SaveSettings(path, s);
  EXPECT_NE(ReadFileBytes(path).find("\nFinInWindow=1\n"), std::string::npos);
}

TEST(SaveSettings, WriteOrderAndTheRestOfTheFileKept) {
  TempFolder folder;
  std::string path = folder.File("PUNTEL.INI");
  TSettings s = ReadFrom(path);
  s.CellSize = 22;
  s.AutoRemap = false;
  SaveSettings(path, s);
  EXPECT_EQ(ReadFileBytes(path),
            "[PUNTEL32]\nPalFile=/opt/puntel/dmc25.clr\nprogpath=/opt/puntel/\n"
            "Imagepath=/home/user/start/\nCompopath=/home/user/start/\n"
            "ColorPath=/home/user/start/\nCellSize=22\nstartprinthour=0\nstartprintmin=0\n"
            "endprinthour=0\nendprintmin=0\nlanguage=0\nUnit=0\nFinInWindow=1\nAutoRemap=0\n"
            "Jpeg Compression=100\nColorMatch=0\n");
  EXPECT_EQ(ReadFrom(path), s);

  WriteFileBytes(path, "; mine\r\n[Other]\r\nCellSize=99\r\n[puntel32]\r\ncellsize=20\r\n");
  SaveSettings(path, s);
  std::string text = ReadFileBytes(path);
  EXPECT_EQ(
      text.rfind("; mine\r\n[Other]\r\nCellSize=99\r\n[puntel32]\r\ncellsize=22\r\nPalFile=", 0),
      0u);
  EXPECT_EQ(text.find("\n\n"), std::string::npos);  // CR LF for the added lines too
}

TEST(ReadSettings, ColorMatchIsZeroOrOneAndRoundTrips) {
  TempFolder folder;
  std::string path = folder.File("PUNTEL.INI");
  for (auto [text, expected] :
       {std::pair{"1", 1}, {"0", 0}, {"2", 0}, {"-1", 0}, {"x", 0}, {"257", 0}, {"0x01", 1}}) {
    WriteFileBytes(path, std::string("[PUNTEL32]\nColorMatch=") + text + "\n");
    EXPECT_EQ(ReadFrom(path).ColorMatch, expected) << text;
  }
  // A file of an older version has no key: exact RGB, and the key joins after the others.
  WriteFileBytes(path, "[PUNTEL32]\nJpeg Compression=80\nMine=1\n");
  TSettings s = ReadFrom(path);
  EXPECT_EQ(s.ColorMatch, 0);
  s.ColorMatch = 1;
  SaveSettings(path, s);
  const std::string text = ReadFileBytes(path);
  EXPECT_NE(text.find("Jpeg Compression=80\nMine=1\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 13), "ColorMatch=1\n");
  EXPECT_EQ(ReadFrom(path), s);
}

TEST(SaveSettings, FailureChangesNothingOnDisk) {
  TempFolder folder;
  std::string path = folder.File("PUNTEL.INI");
  WriteFileBytes(path, "[PUNTEL32]\nCellSize=20\n");
  TSettings s = ReadFrom(path);
  s.ColorPath = "/bad\nfolder/";  // the file cannot hold it; four keys were set before it
  try {
    SaveSettings(path, s);
    FAIL() << "saved";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(), "Unable to write to " + path);
  }
  EXPECT_THROW(SaveSettings(folder.File("none/PUNTEL.INI"), ReadFrom(path)), EInOutError);
  EXPECT_EQ(ReadFileBytes(path), "[PUNTEL32]\nCellSize=20\n");
  EXPECT_EQ(ListFolder(folder.Path()), "PUNTEL.INI");
}

TEST(SaveGeometry, MaximisedWritesOnlyState) {
  TempFolder folder;
  std::string path = folder.File("PUNTEL.INI");
  SaveGeometry(path, WindowGeometry{-5, 3, 800, 600, true}, false);
  EXPECT_EQ(ReadFileBytes(path), "[PUNTEL32]\nstate=0\nxpos=-5\nypos=3\nxsiz=800\nysiz=600\n");
  SaveGeometry(path, WindowGeometry{0, 0, 1920, 1080, false}, true);
  EXPECT_EQ(ReadFileBytes(path), "[PUNTEL32]\nstate=1\nxpos=-5\nypos=3\nxsiz=800\nysiz=600\n");
  EXPECT_EQ(ReadGeometry(IniFile(path)), (WindowGeometry{-5, 3, 800, 600, true}));
  EXPECT_THROW(SaveGeometry(folder.File("gone/PUNTEL.INI"), {}, true), EInOutError);
}

}  // namespace
