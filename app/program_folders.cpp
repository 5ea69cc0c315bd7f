#include "app/program_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/";
}

}  // namespace

std::string ConfigFolderFor(std::string_view xdgConfigHome, std::string_view home) {
  // A relative XDG folder would depend on the current folder, so it is ignored.
  if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/')
    return WithSlash(std::string(xdgConfigHome));
  return WithSlash(std::string(home)) + ".config/";
}

std::string ConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  return ConfigFolderFor(xdg ? xdg : "", HomeFolder());
}

std::string SettingsFilePath() {
  return ConfigFolder() + "PUNTEL.INI";
}

std::string FolderOfExecutable(std::string_view executablePath) {
  auto slash = executablePath.rfind('/');
  if (slash == std::string_view::npos) return "./";
  return std::string(executablePath.substr(0, slash + 1));
}

std::string ExecutableFolder() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    // Without /proc, the current folder is the best guess left.
    auto current = std::filesystem::current_path(error);
    return error ? std::string("./") : WithSlash(current.string());
  }
  return FolderOfExecutable(path.string());
}

std::string ProgramDataFolderFor(const std::string& executableFolder,
                                 const std::function<bool(const std::string&)>& fileExists) {
  std::string folder = WithSlash(executableFolder);
  if (fileExists(folder + kDefaultPaletteName)) return folder;
  auto installed = std::filesystem::path(folder + "../share/puntel/").lexically_normal();
  return WithSlash(installed.string());
}

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && !error;
}

std::string ProgramDataFolder() {
  return ProgramDataFolderFor(ExecutableFolder(), IsRegularFile);
}

std::string UserDataFolder() {
  return ConfigFolder() + "puntel/";
}

bool EnsureFolderExists(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

std::string UserSymbolTableFile() {
  return UserDataFolder() + "carac.tbl";
}

std::string SymbolTableFile(const std::string& program_folder) {
  const std::string user = UserSymbolTableFile();
  return IsRegularFile(user) ? user : program_folder + "carac.tbl";
}
