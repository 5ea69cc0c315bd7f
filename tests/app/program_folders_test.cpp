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
