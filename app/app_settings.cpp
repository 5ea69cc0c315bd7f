#include "app/app_settings.h"

#include "app/ini_file.h"
#include "app/program_folders.h"

TSettings& Settings() {
  static TSettings settings;
  return settings;
}

std::string SettingsPath() { return SettingsFilePath(); }

void LoadSettings() {
  Settings() = ReadSettings(IniFile(SettingsPath()), {ProgramDataFolder(), ExecutableFolder()});
}

void WriteAllSettings() { SaveSettings(SettingsPath(), Settings()); }
