#include "app/app_settings.h"

#include "app/ini_file.h"
#include "app/program_folders.h"

TSettings& Settings() {
  static TSettings settings;
  return settings;
}

void LoadSettings() {
  Settings() = ReadSettings(IniFile(SettingsFilePath()), {ProgramDataFolder(), ExecutableFolder()});
}

void WriteAllSettings() {
  SaveSettings(SettingsFilePath(), Settings());
}
