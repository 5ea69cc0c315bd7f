#pragma once
// The settings record of the running program: one for the whole process, read at start-up
// and written back when the user confirms the preferences or toggles automatic remapping.

#include <string>

#include "app/settings.h"

// The settings file in use is SettingsFilePath() (program_folders.h).
TSettings& Settings();
// Reads the record from the file (a missing file gives every default).
void LoadSettings();
// Writes every key; raises EInOutError "Unable to write to <path>" and changes nothing on disk
// when the file cannot be written.
void WriteAllSettings();
