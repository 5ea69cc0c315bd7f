#include "app/program_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ConfigFolder, XdgConfigHomeElseHomeConfig) {
  EXPECT_EQ(ConfigFolderFor("/x/conf", "/home/u"), "/x/conf/");
  EXPECT_EQ(ConfigFolderFor("relative/conf", "/home/u/"), "/home/u/.config/");
  ScopedEnv home("HOME", "/home/tester");
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/xdg/");
    EXPECT_EQ(SettingsFilePath(), "/tmp/xdg/PUNTEL.INI");
    EXPECT_EQ(UserDataFolder(), "/tmp/xdg/puntel/");
  }
  ScopedEnv empty("XDG_CONFIG_HOME", "");
  EXPECT_EQ(SettingsFilePath(), "/home/tester/.config/PUNTEL.INI");
}

TEST(ProgramDataFolder, BesideTheExecutableElseInstalledShare) {
  auto only = [](std::string wanted) { return [=](const std::string& p) { return p == wanted; }; };
  EXPECT_EQ(ProgramDataFolderFor("/build/bin/", only("/build/bin/dmc25.clr")), "/build/bin/");
  EXPECT_EQ(ProgramDataFolderFor("/usr/local/bin", only("")), "/usr/local/share/puntel/");
  std::string exe = ExecutableFolder();
  EXPECT_TRUE(exe.front() == '/' && exe.back() == '/' && FileExists(exe)) << exe;

  TempFolder temp;
  EXPECT_TRUE(EnsureFolderExists(temp.File("a/b/")));
  WriteFileBytes(temp.File("file"), "");
  EXPECT_FALSE(EnsureFolderExists(temp.File("file/sub/")));
}

}  // namespace

#include <sys/stat.h>
#include <unistd.h>

#include "app/ini_file.h"
#include "tests/support/other_user.h"

namespace {

// Paths that cannot be checked count as missing instead of raising, which once ended the
// program at every start.
TEST(IsRegularFile, PathsThatCannotBeCheckedAreNoFiles) {
  TempFolder temp;
  WriteFileBytes(temp.File("file"), "");
  ASSERT_EQ(symlink("loop", temp.File("loop").c_str()), 0);
  ASSERT_EQ(mkdir(temp.File("closed").c_str(), 0700), 0);
  WriteFileBytes(temp.File("closed/file"), "");
  ASSERT_EQ(chmod(temp.Path().c_str(), 0755), 0);
  EXPECT_TRUE(IsRegularFile(temp.File("file")));
  for (const std::string& path :
       {temp.File(std::string(256, 'n')), temp.File("loop"), temp.File("loop/dmc25.clr"),
        temp.File("file/x"), temp.Path(), std::string("/dev/zero")})
    EXPECT_FALSE(IsRegularFile(path)) << path;
  const std::string hidden = temp.File("closed/file");
  ASSERT_EQ(chmod(temp.File("closed").c_str(), 0), 0);  // not even its owner may look in
  EXPECT_TRUE(AsOtherUser([&] { return !IsRegularFile(hidden); }));
  ASSERT_EQ(chmod(temp.File("closed").c_str(), 0700), 0);
}

// A settings file that links to a device reads as an empty one, and is never written over.
TEST(IniFile, ASettingsFileLinkedToADeviceIsUnreadable) {
  TempFolder temp;
  ASSERT_EQ(symlink("/dev/zero", temp.File("PUNTEL.INI").c_str()), 0);
  IniFile file(temp.File("PUNTEL.INI"));
  EXPECT_EQ(file.ReadString("Puntel", "PalFile", "default"), "default");
  file.WriteString("Puntel", "PalFile", "x");
  EXPECT_THROW(file.Save(), std::exception);
  struct stat info {};
  ASSERT_EQ(lstat(temp.File("PUNTEL.INI").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

}  // namespace
