#include <gtest/gtest.h>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "base/int_parse.h"
#include "base/latin1.h"
#include "base/rounding.h"
#include "tests/support/temp_folder.h"

TEST(IntParse, AcceptsWhatTheFilesWrite) {
  EXPECT_EQ(TryStrToInt("0"), 0);
  EXPECT_EQ(TryStrToInt("  -17"), -17);
  EXPECT_EQ(TryStrToInt("+5"), 5);
  EXPECT_EQ(TryStrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(TryStrToInt("-2147483648"), INT32_MIN);
  for (const char* bad : {"", " ", "-", "12 ", "1x", "2147483648", "99999999999999999999", "0x10"})
    EXPECT_FALSE(TryStrToInt(bad)) << '"' << bad << '"';
  try {
    StrToInt("4 x");
    ADD_FAILURE();
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'4 x' is not a valid integer value");
  }
  EXPECT_EQ(TryHexToInt("12"), 18);
  EXPECT_EQ(TryHexToInt("FFFFFFFF"), -1);
  EXPECT_FALSE(TryHexToInt(""));
  EXPECT_FALSE(TryHexToInt("123456789"));
  EXPECT_FALSE(TryHexToInt("1g"));
}

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(7.5), 8);
  EXPECT_EQ(RoundHalfEven(0.6), 1);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.2), 1);
}

TEST(Latin1, FoldsAsciiAndLatin1CapitalsOnly) {
  EXPECT_TRUE(SameText("Blanc", "BLANC"));
  EXPECT_TRUE(
      SameText("\xC9"
               "cru",
               "\xE9"
               "CRU"));                    // É / é
  EXPECT_FALSE(SameText("\xD7", "\xF7"));  // × and ÷ are no letters
  EXPECT_FALSE(SameText("ab", "abc"));
  EXPECT_EQ(LowerAscii("X.CLA\xC9"), "x.cla\xC9");
}

TEST(ReplacementFile, ReplacesWholeOrNotAtAll) {
  TempFolder folder;
  const std::string target = folder.File("file");
  WriteFileBytes(target, "old");
  {
    ReplacementFile file(target);
    ASSERT_TRUE(file.Created());
    file.Write("new contents");
    EXPECT_EQ(ReadFileBytes(target), "old");  // untouched until the commit
  }  // abandoned: the temporary file goes, the old file stays
  EXPECT_EQ(ReadFileBytes(target), "old");
  EXPECT_EQ(ListFolder(folder.Path()), "file");

  ReplaceFileContents(target, "new");
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_EQ(ListFolder(folder.Path()), "file");

  EXPECT_FALSE(ReplacementFile(folder.File("missing/file")).Created());
  EXPECT_THROW(ReplaceFileContents(folder.File("missing/file"), "x"), EInOutError);
}

#include <atomic>
#include <stdexcept>

#include "base/parallel.h"

TEST(ParallelFor, CoversEveryIndexOnceAndPassesErrorsOn) {
  for (size_t count : {0u, 1u, 7u, 100000u}) {
    std::vector<std::atomic<int>> seen(count);
    ParallelFor(count, 1000, [&](size_t begin, size_t end) {
      for (size_t i = begin; i < end; ++i) seen[i]++;
    });
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(seen[i].load(), 1) << i << " of " << count;
  }
  EXPECT_THROW(ParallelFor(100000, 10,
                           [](size_t, size_t end) {
                             if (end == 100000) throw std::runtime_error("last part");
                           }),
               std::runtime_error);
}
