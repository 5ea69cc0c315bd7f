#pragma once
// The user's preferences and the folders the file dialogs start in, kept in the section
// PUNTEL32 of the settings file, and the main window's position and size beside them.

#include <cstdint>
#include <string>

#include "app/ini_file.h"
#include "app/program_folders.h"

inline constexpr char kSettingsSection[] = "PUNTEL32";

// One instance for the whole process. The folders end with '/'.
struct TSettings {
  std::string PalFile;    // "PalFile": palette file loaded at start-up
  std::string progpath;   // "progpath": the program's own data files
  std::string Imagepath;  // "Imagepath": picture import, export and viewer
  std::string Compopath;  // "Compopath": compositions
  std::string ColorPath;  // "ColorPath": palette (color) files
  uint16_t CellSize = 18;
  // The printing period and the spooler language (0 French, 1 English) are kept for a
  // print spooler outside the program.
  uint16_t startprinthour = 0;
  uint16_t startprintmin = 0;
  uint16_t endprinthour = 0;
  uint16_t endprintmin = 0;
  uint16_t language = 0;
  uint8_t Unit = 0;  // 0 centimetres, 1 millimetres, 2 inches, 3 stitches
  bool FinInWindow = true;
  bool AutoRemap = true;
  uint8_t JpegCompression = 100;  // "Jpeg Compression": kept and written back only
  // "ColorMatch": how a color finds its nearest floss, 0 exact RGB, 1 CIEDE2000 (the
  // numbers of ColorMatch in palette/color_match.h); any other number reads as 0.
  uint8_t ColorMatch = 0;

  bool operator==(const TSettings&) const = default;
};

// Where the folder defaults come from; both end with '/'.
struct SettingsDefaults {
  std::string programFolder;  // default of "progpath"
  std::string startFolder;    // default of the image, composition and color folders
};

// Fills every field from its key; a missing or malformed key takes its default.
TSettings ReadSettings(const IniFile& file, const SettingsDefaults& defaults);
// Sets every key of the record; the caller saves the file.
void WriteSettings(IniFile& file, const TSettings& settings);
// Loads the file at `path`, writes every key and replaces the file in one step: either
// all keys reach the disk or none do (EInOutError "Unable to write to <path>").
void SaveSettings(const std::string& path, const TSettings& settings);

struct WindowGeometry {
  int32_t xpos = 0;
  int32_t ypos = 0;
  int32_t xsiz = 640;
  int32_t ysiz = 480;
  bool state = false;  // the window was maximised when it was closed

  bool operator==(const WindowGeometry&) const = default;
};

WindowGeometry ReadGeometry(const IniFile& file);
// A maximised window stores only "state" so the next start restores the last normal
// geometry before maximising; otherwise "state" = 0 and the four geometry keys.
void SaveGeometry(const std::string& path, const WindowGeometry& geometry, bool maximised);
