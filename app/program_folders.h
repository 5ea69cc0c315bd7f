#pragma once
// Where the program finds its settings file and its own data files. Every folder
// returned ends with '/'.

#include <functional>
#include <string>
#include <string_view>

// The floss palette named by default, looked for in the program folder.
inline constexpr char kDefaultPaletteName[] = "dmc25.clr";

// $XDG_CONFIG_HOME when set to an absolute path, else $HOME/.config.
std::string ConfigFolder();
// ConfigFolder() + "PUNTEL.INI".
std::string SettingsFilePath();
// The folder of the running executable (from /proc/self/exe).
std::string ExecutableFolder();
// The folder of the program's data files ("dmc25.clr", "carac.tbl", ...): beside the
// executable in the build tree, <prefix>/share/puntel/ when installed.
std::string ProgramDataFolder();
// ConfigFolder() + "puntel/": data files the user changes, read before the program's own.
std::string UserDataFolder();
// The symbol table the program loads: the user's own copy once there is one, else the
// program folder's "carac.tbl" (`program_folder` ends with '/').
std::string SymbolTableFile(const std::string& program_folder);
// Where every change of the symbol table is written: UserDataFolder() + "carac.tbl".
std::string UserSymbolTableFile();
// Whether `path` is a regular file (links followed). A path that cannot be checked (a name
// too long, links in a loop, a folder that may not be read) is none: this never raises.
bool IsRegularFile(const std::string& path);
// Creates the folder and its parents when missing; false when it cannot be made.
bool EnsureFolderExists(const std::string& folder);

// The pure rules behind the functions above.
// `home` is the home folder to use when `xdgConfigHome` is empty or relative.
std::string ConfigFolderFor(std::string_view xdgConfigHome, std::string_view home);
// The folder holding `executablePath` (the text up to its last '/').
std::string FolderOfExecutable(std::string_view executablePath);
std::string ProgramDataFolderFor(const std::string& executableFolder,
                                 const std::function<bool(const std::string&)>& fileExists);
