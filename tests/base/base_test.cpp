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

TEST(Latin1, Utf8IsCheckedStrictlyAndLatin1Converts) {
  for (const char* good :
       {"", "abc", "\xC3\xA9", "\xE2\x80\xA2", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(IsValidUtf8(good)) << good;
  // A lone Latin-1 byte, a cut sequence, overlong forms, a surrogate, past U+10FFFF.
  for (const char* bad : {"\xE9t\xE9", "\xE2\x80", "\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\x80", "\xF8\x88\x80\x80\x80"})
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  EXPECT_EQ(Latin1ToUtf8("a\xE9\xFF"), "a\xC3\xA9\xC3\xBF");
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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/whole_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/message_of.h"

TEST(ReadWholeFile, OnlyRegularFilesWithinTheBound) {
  TempFolder folder;
  WriteFileBytes(folder.File("small"), "abc");
  ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0600), 0);
  WriteFileBytes(folder.File("big"), "");
  ASSERT_EQ(truncate(folder.File("big").c_str(), off_t(kSmallFileLimit) + 1), 0);
  struct Case {
    std::string path;
    WholeFile result;
    size_t size;
  } cases[] = {
      {folder.File("small"), WholeFile::kRead, 3},
      {folder.File("missing"), WholeFile::kMissing, 0},
      {folder.File("small/x"), WholeFile::kMissing, 0},
      {folder.Path(), WholeFile::kUnreadable, 0},
      {"/dev/zero", WholeFile::kUnreadable, 0},          // would never end
      {folder.File("pipe"), WholeFile::kUnreadable, 0},  // would wait for a writer
      {folder.File("big"), WholeFile::kUnreadable, 0},
  };
  for (const Case& c : cases) {
    std::string bytes = "old";
    EXPECT_EQ(ReadWholeFile(c.path, bytes), c.result) << c.path;
    EXPECT_EQ(bytes.size(), c.size) << c.path;
  }
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(folder.File("big"), bytes, kSmallFileLimit + 1), WholeFile::kRead);
}

TEST(ReplacementFile, RefusesReadOnlyTargetsAndLinkLoopsAndFollowsDanglingLinks) {
  TempFolder folder;
  WriteFileBytes(folder.File("ro"), "kept");
  ASSERT_EQ(chmod(folder.File("ro").c_str(), 0444), 0);
  ASSERT_EQ(symlink("loop2", folder.File("loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", folder.File("loop2").c_str()), 0);
  ASSERT_EQ(symlink("ro", folder.File("to-ro").c_str()), 0);
  ASSERT_EQ(symlink("/dev/null", folder.File("device").c_str()), 0);
  ASSERT_EQ(mkdir(folder.File("folder").c_str(), 0700), 0);
  for (const char* name : {"ro", "loop1", "to-ro", "loop1/x", "device", "folder"})
    EXPECT_EQ(MessageOf<EInOutError>([&] { ReplaceFileContents(folder.File(name), "new"); }),
              "Unable to write to " + folder.File(name));
  EXPECT_EQ(ReadFileBytes(folder.File("ro")), "kept");
  EXPECT_EQ(ListFolder(folder.Path()), "device folder loop1 loop2 ro to-ro");

  // A dangling link gets its file; the link stays a link.
  ASSERT_EQ(symlink("sub/made", folder.File("dangling").c_str()), 0);
  ASSERT_EQ(mkdir(folder.File("sub").c_str(), 0700), 0);
  ReplaceFileContents(folder.File("dangling"), "through");
  EXPECT_EQ(ReadFileBytes(folder.File("sub/made")), "through");
  struct stat info {};
  ASSERT_EQ(lstat(folder.File("dangling").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(ListFolder(folder.File("sub")), "made");
}

TEST(ReplacementFile, LeavesNoTemporaryFileWhateverHappens) {
  TempFolder folder;
  const std::string target = folder.File("file");
  {
    ReplacementFile file(target);
    ASSERT_TRUE(file.Created());
    file.Write(std::string(100000, 'x'));
    // Where the file system allows, the unfinished file has no name at all.
    const int unnamed = open(folder.Path().c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (unnamed >= 0) {
      close(unnamed);
      EXPECT_EQ(ListFolder(folder.Path()), "");
    }
  }
  EXPECT_EQ(ListFolder(folder.Path()), "");
  {
    FileSizeLimit full_disk(1024);  // the write fails, as past a quota
    ASSERT_TRUE(full_disk.Active());
    EXPECT_THROW(ReplaceFileContents(target, std::string(5000, 'x')), EInOutError);
  }
  EXPECT_EQ(ListFolder(folder.Path()), "");
  ReplaceFileContents(target, "done");
  EXPECT_EQ(ListFolder(folder.Path()), "file");
}
