#include "palette/palette_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "palette/crc32.h"
#include "palette/crypt_file.h"
#include "palette/floss_palette.h"
#include "palette/palette_errors.h"
#include "tests/palette/reference_cipher.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"

namespace {

void Fill(TpunPal& palette, int count) {
  for (int i = 0; i < count; ++i)
    palette.AddClr(MakeColor(uint8_t(i * 7), uint8_t(i * 13), uint8_t(255 - i)),
                   "floss " + std::to_string(i));
}

std::string Body(const std::string& native_file) {
  const std::string header = "PUNTEL Palette File\r\n";
  EXPECT_EQ(native_file.substr(0, header.size()), header);
  return ReferenceCipher(ReferenceKey()).Decipher(native_file.substr(header.size()));
}

class PaletteFile : public ::testing::Test {
 protected:
  TempFolder folder;
};

}  // namespace

TEST(Cipher, TableAndKeyAreTheStandardOnes) {
  EXPECT_EQ(Crc32Table()[1], 0x77073096u);
  EXPECT_EQ(Crc32Table()[255], 0x2D02EF8Du);
  EXPECT_EQ(PaletteCipherKey().size(), 90u);
  EXPECT_EQ(PaletteCipherKey().back(), '\0');
  EXPECT_EQ(std::string(PaletteCipherKey()), ReferenceKey());
  ZipCipher fresh("");
  EXPECT_EQ(fresh.K0(), 0x12345678u);
  // The final NUL keys the stream too.
  ZipCipher full(PaletteCipherKey()), cut(PaletteCipherKey().substr(0, 89));
  std::string a, b;
  for (char c : std::string("PUNPAL\r\n")) {
    a.push_back(char(full.Encipher(uint8_t(c))));
    b.push_back(char(cut.Encipher(uint8_t(c))));
  }
  EXPECT_NE(a, b);
  EXPECT_EQ(a, ReferenceCipher(ReferenceKey()).Encipher("PUNPAL\r\n"));
}

TEST_F(PaletteFile, EmptyNativePaletteHoldsHeaderMagicAndZero) {
  TpunPal palette;
  palette.SaveToFile(folder.File("empty.clr"));
  EXPECT_EQ(Body(ReadFileBytes(folder.File("empty.clr"))), "PUNPAL\r\n0\r\n");
  TpunPal loaded;
  loaded.AddClr(1, "stale");
  EXPECT_NO_THROW(loaded.LoadFromFile(folder.File("empty.clr")));
  EXPECT_EQ(loaded.Count(), 0);
  EXPECT_TRUE(loaded.Modified);
}

TEST_F(PaletteFile, NativeFileIsExactlyTheEncipheredLines) {
  TpunPal palette;
  palette.AddClr(MakeColor(127, 127, 127), "A name longer than twenty-five characters");
  palette.AddClr(MakeColor(0, 5, 255), "");
  palette.Modified = false;
  palette.SaveToFile(folder.File("p.clr"));
  EXPECT_FALSE(palette.Modified);
  EXPECT_EQ(Body(ReadFileBytes(folder.File("p.clr"))),
            "PUNPAL\r\n2\r\nA name longer than twenty\r\n127 127 127\r\n\r\n0 5 255\r\n");
  TpunPal loaded;
  ASSERT_NO_THROW(loaded.LoadFromFile(folder.File("p.clr")));
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.GetName(0), "A name longer than twenty");
  EXPECT_EQ(loaded.GetName(1), "");
  EXPECT_EQ(loaded.GetClr(1), MakeColor(0, 5, 255));
}

TEST_F(PaletteFile, NamesContainingClaChooseThePlainFormatInFullLength) {
  TpunPal palette;
  palette.AddClr(MakeColor(1, 2, 3), "A name longer than twenty-five characters");
  palette.AddClr(MakeColor(250, 0, 9), "310");
  for (const char* name : {"Upper.CLA", "my.clash.clr", "x.cla"}) {
    palette.SaveToFile(folder.File(name));
    EXPECT_EQ(ReadFileBytes(folder.File(name)),
              "CWPAL\r\n100\r\n2\r\n1 2 3\r\n250 0 9\r\n"
              "A name longer than twenty-five characters\r\n310\r\n")
        << name;
    TpunPal loaded;
    ASSERT_NO_THROW(loaded.LoadFromFile(folder.File(name)));
    EXPECT_EQ(loaded.Colors.Entries(), palette.Colors.Entries());
  }
  // The name is written as given; the lower-cased form is only looked at.
  EXPECT_EQ(ListFolder(folder.Path()), "Upper.CLA my.clash.clr x.cla");
}

TEST_F(PaletteFile, LargePalettesCrossTheBufferAndRoundTrip) {
  TpunPal palette;
  Fill(palette, 6000);  // well over 64 KiB of file body
  palette.SaveToFile(folder.File("big.clr"));
  ASSERT_GT(ReadFileBytes(folder.File("big.clr")).size(), 2u * CryptFile::kBufferSize);
  TpunPal loaded;
  ASSERT_NO_THROW(loaded.LoadFromFile(folder.File("big.clr")));
  EXPECT_EQ(loaded.Colors.Entries(), palette.Colors.Entries());
  palette.SaveToFile(folder.File("again.clr"));
  EXPECT_EQ(ReadFileBytes(folder.File("again.clr")), ReadFileBytes(folder.File("big.clr")));
  // The same bytes made and read in memory, as a composition file holds its palette.
  EXPECT_EQ(NativePaletteBytes(palette), ReadFileBytes(folder.File("big.clr")));
  TpunPal from_bytes;
  ASSERT_TRUE(LoadPaletteBytes(from_bytes, NativePaletteBytes(palette)));
  EXPECT_EQ(from_bytes.Colors.Entries(), palette.Colors.Entries());
}

TEST_F(PaletteFile, ReadsFilesMadeByAnotherWriter) {
  // Bare LF line ends and stray CRs inside enciphered lines are dropped.
  WriteFileBytes(folder.File("lf.clr"),
                 NativeFile("PUNPAL\n2\n31\r0\n1 2 3\nEcru\n300 123456 7\n"));
  TpunPal palette;
  ASSERT_NO_THROW(palette.LoadFromFile(folder.File("lf.clr")));
  ASSERT_EQ(palette.Count(), 2);
  EXPECT_EQ(palette.GetName(0), "310");
  EXPECT_EQ(palette.GetClr(0), MakeColor(1, 2, 3));
  // 300 wraps to 44; a six-digit green is read from its first five digits (12345 -> 57).
  EXPECT_EQ(palette.GetClr(1), MakeColor(44, 57, 7));

  WriteFileBytes(folder.File("enc.clr"),
                 NativeFile("CWPAL\r\n100\r\n2\r\n10 20 30\r\n40 50 60\r\nfirst\r\nsecond\r\n"));
  ASSERT_NO_THROW(palette.LoadFromFile(folder.File("enc.clr")));
  ASSERT_EQ(palette.Count(), 2);
  EXPECT_EQ(palette.GetName(1), "second");
  EXPECT_EQ(palette.GetClr(1), MakeColor(40, 50, 60));

  WriteFileBytes(folder.File("plain.txt"), "CWPAL\n7\n1\n9 8 7\n");  // its name line is missing
  ASSERT_NO_THROW(palette.LoadFromFile(folder.File("plain.txt")));
  ASSERT_EQ(palette.Count(), 1);
  EXPECT_EQ(palette.GetName(0), "");
  EXPECT_EQ(palette.GetClr(0), MakeColor(9, 8, 7));

  // Bytes in memory read as the file holding them does.
  for (const char* name : {"lf.clr", "enc.clr", "plain.txt"}) {
    ASSERT_NO_THROW(palette.LoadFromFile(folder.File(name)));
    TpunPal from_bytes;
    ASSERT_TRUE(LoadPaletteBytes(from_bytes, ReadFileBytes(folder.File(name)))) << name;
    EXPECT_EQ(from_bytes.Colors.Entries(), palette.Colors.Entries()) << name;
  }
}

TEST_F(PaletteFile, UnrecognisedFilesLeaveThePaletteEmpty) {
  for (const std::string& bytes :
       {std::string("Hello\r\nPUNPAL\r\n"), std::string(), NativeFile("NOTPAL\r\n1\r\n"),
        NativeFile("cwpal\r\n1\r\n"),  // magic lines are matched with their case
        std::string("PUNTEL Palette File")}) {
    WriteFileBytes(folder.File("other"), bytes);
    TpunPal palette;
    palette.AddClr(0, "old");
    palette.Modified = false;
    EXPECT_THROW(palette.LoadFromFile(folder.File("other")), ENotPaletteFile);
    EXPECT_EQ(palette.Count(), 0);
    EXPECT_FALSE(palette.Modified);
  }
}

TEST_F(PaletteFile, DamagedNumbersRaiseTheConversionError) {
  struct Case {
    std::string bytes, message;
    int kept;
  };
  for (const auto& c : std::vector<Case>{
           {NativeFile("PUNPAL\r\nmany\r\n"), "'many' is not a valid integer value", 0},
           {NativeFile("PUNPAL\r\n3\r\na\r\n1 2 3\r\nb\r\n4 x 6\r\n"),
            "'x' is not a valid integer value", 1},
           {NativeFile("PUNPAL\r\n2\r\na\r\n1 2 3\r\n"), "'' is not a valid integer value", 1},
           {"CWPAL\r\n100\r\n1\r\n1 2\r\n", "'' is not a valid integer value", 0},
       }) {
    WriteFileBytes(folder.File("bad"), c.bytes);
    TpunPal palette;
    try {
      palette.LoadFromFile(folder.File("bad"));
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.what(), c.message);
    }
    EXPECT_EQ(palette.Count(), c.kept);
  }
}

TEST_F(PaletteFile, MissingAndUnreadableFiles) {
  TpunPal palette;
  palette.AddClr(1, "kept");
  try {
    palette.LoadFromFile(folder.File("missing.clr"));
    ADD_FAILURE();
  } catch (const EInvalidFileName& error) {
    EXPECT_STREQ(error.what(), "(TpunPal.LoadFromFile) : File not found !");
  }
  EXPECT_EQ(palette.Count(), 1);
  EXPECT_THROW(palette.LoadFromFile(folder.Path()), EInvalidFileName);  // a folder is no file

  // A palette the user may not write still loads.
  TpunPal source;
  Fill(source, 3);
  source.SaveToFile(folder.File("ro.clr"));
  ASSERT_EQ(chmod(folder.File("ro.clr").c_str(), 0444), 0);
  ASSERT_NO_THROW(palette.LoadFromFile(folder.File("ro.clr")));
  EXPECT_EQ(palette.Count(), 3);
}

TEST_F(PaletteFile, FailedSavesKeepTheOldFile) {
  TpunPal palette;
  Fill(palette, 2);
  try {
    palette.SaveToFile(folder.File("no/such/folder.clr"));
    ADD_FAILURE();
  } catch (const ETcryptFile& error) {
    EXPECT_STREQ(error.what(), "Enable to create output file !");
  }

  // A full disk: the file size limit makes every write past 1 KiB fail.
  palette.SaveToFile(folder.File("keep.clr"));
  palette.SaveToFile(folder.File("keep.cla"));
  const std::string native = ReadFileBytes(folder.File("keep.clr"));
  const std::string plain = ReadFileBytes(folder.File("keep.cla"));
  TpunPal big;
  Fill(big, 2000);
  {
    FileSizeLimit full_disk(1024);
    ASSERT_TRUE(full_disk.Active());
    for (const char* name : {"keep.clr", "keep.cla"}) {
      try {
        big.SaveToFile(folder.File(name));
        ADD_FAILURE() << name;
      } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find(folder.File(name)), std::string::npos)
            << error.what();
      }
    }
  }
  EXPECT_EQ(ReadFileBytes(folder.File("keep.clr")), native);
  EXPECT_EQ(ReadFileBytes(folder.File("keep.cla")), plain);
  EXPECT_EQ(ListFolder(folder.Path()), "keep.cla keep.clr");  // no temporary file is left
}

TEST_F(PaletteFile, SavingKeepsPermissionsAndFollowsLinks) {
  TpunPal palette;
  Fill(palette, 1);
  palette.SaveToFile(folder.File("p.clr"));
  ASSERT_EQ(chmod(folder.File("p.clr").c_str(), 0640), 0);
  ASSERT_EQ(symlink("p.clr", folder.File("link.clr").c_str()), 0);
  Fill(palette, 2);
  palette.SaveToFile(folder.File("link.clr"));
  struct stat info {};
  ASSERT_EQ(lstat(folder.File("link.clr").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(folder.File("p.clr").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  TpunPal loaded;
  ASSERT_NO_THROW(loaded.LoadFromFile(folder.File("p.clr")));
  EXPECT_EQ(loaded.Count(), 3);
}

TEST_F(PaletteFile, CryptFileReadsNothingPastItsEnd) {
  WriteFileBytes(folder.File("short"), "ab");
  CryptFile file;
  file.OpenRead(folder.File("short"), "");
  EXPECT_EQ(file.ReadPlainLine(), "ab");
  EXPECT_TRUE(file.AtEnd());
  for (int i = 0; i < 3 * CryptFile::kBufferSize; ++i) file.ReadEncipheredByte();
  EXPECT_EQ(file.ReadEncipheredLine(), "");
  file.Close();
  EXPECT_THROW(file.OpenRead(folder.File("none"), ""), ETcryptFile);
  EXPECT_THROW(file.OpenWrite(folder.File("none/x"), ""), ETcryptFile);
}

#include <unistd.h>

#include "tests/support/other_user.h"

// Only regular files within the bound are read; whatever else, and a file the user may not
// read, is "Unable to read" and leaves the palette as it was.
TEST_F(PaletteFile, DevicesLargeAndForbiddenFilesAreUnreadable) {
  TpunPal source;
  Fill(source, 2);
  source.SaveToFile(folder.File("big.clr"));
  ASSERT_EQ(truncate(folder.File("big.clr").c_str(), off_t(kPaletteFileLimit) + 1), 0);
  source.SaveToFile(folder.File("secret.clr"));
  ASSERT_EQ(chmod(folder.File("secret.clr").c_str(), 0000), 0);
  ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
  auto message = [](const std::string& path) {
    TpunPal palette;
    palette.AddClr(1, "kept");
    try {
      palette.LoadFromFile(path);
    } catch (const EInvalidFileName& error) {
      return palette.Count() == 1 ? std::string(error.what()) : "changed";
    }
    return std::string("no error");
  };
  for (const std::string& path : {std::string("/dev/zero"), folder.Path(), folder.File("big.clr")})
    EXPECT_EQ(message(path), "Unable to read " + path);
  const std::string secret = folder.File("secret.clr");
  EXPECT_TRUE(AsOtherUser([&] { return message(secret) == "Unable to read " + secret; }));
  EXPECT_EQ(message(folder.File("none.clr")), "(TpunPal.LoadFromFile) : File not found !");
}
