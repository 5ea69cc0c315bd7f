#include "app/settings.h"

namespace {

constexpr const char* kSection = kSettingsSection;

uint16_t ReadWord(const IniFile& file, const char* key, uint16_t defaultValue) {
  return uint16_t(file.ReadInteger(kSection, key, defaultValue));  // low 16 bits
}

uint8_t ReadByte(const IniFile& file, const char* key, uint8_t defaultValue) {
  return uint8_t(file.ReadInteger(kSection, key, defaultValue));  // low 8 bits
}

}  // namespace

TSettings ReadSettings(const IniFile& file, const SettingsDefaults& defaults) {
  TSettings s;
  // First, since the palette file's default depends on it.
  s.progpath = file.ReadString(kSection, "progpath", defaults.programFolder);
  s.PalFile = file.ReadString(kSection, "PalFile", s.progpath + kDefaultPaletteName);
  s.Imagepath = file.ReadString(kSection, "Imagepath", defaults.startFolder);
  s.Compopath = file.ReadString(kSection, "Compopath", defaults.startFolder);
  s.ColorPath = file.ReadString(kSection, "ColorPath", defaults.startFolder);
  s.CellSize = ReadWord(file, "CellSize", 18);
  s.startprinthour = ReadWord(file, "startprinthour", 0);
  s.startprintmin = ReadWord(file, "startprintmin", 0);
  s.endprinthour = ReadWord(file, "endprinthour", 0);
  s.endprintmin = ReadWord(file, "endprintmin", 0);
  s.language = ReadWord(file, "language", 0);
  s.Unit = ReadByte(file, "Unit", 0);
  s.FinInWindow = file.ReadBool(kSection, "FinInWindow", true);
  s.AutoRemap = file.ReadBool(kSection, "AutoRemap", true);
  s.JpegCompression = ReadByte(file, "Jpeg Compression", 100);
  const int32_t match = file.ReadInteger(kSection, "ColorMatch", 0);
  s.ColorMatch = match == 1 ? 1 : 0;
  return s;
}

void WriteSettings(IniFile& file, const TSettings& s) {
  file.WriteString(kSection, "PalFile", s.PalFile);
  file.WriteString(kSection, "progpath", s.progpath);
  file.WriteString(kSection, "Imagepath", s.Imagepath);
  file.WriteString(kSection, "Compopath", s.Compopath);
  file.WriteString(kSection, "ColorPath", s.ColorPath);
  file.WriteInteger(kSection, "CellSize", s.CellSize);
  file.WriteInteger(kSection, "startprinthour", s.startprinthour);
  file.WriteInteger(kSection, "startprintmin", s.startprintmin);
  file.WriteInteger(kSection, "endprinthour", s.endprinthour);
  file.WriteInteger(kSection, "endprintmin", s.endprintmin);
  file.WriteInteger(kSection, "language", s.language);
  file.WriteInteger(kSection, "Unit", s.Unit);
  file.WriteBool(kSection, "FinInWindow", s.FinInWindow);
  file.WriteBool(kSection, "AutoRemap", s.AutoRemap);
  file.WriteInteger(kSection, "Jpeg Compression", s.JpegCompression);
  file.WriteInteger(kSection, "ColorMatch", s.ColorMatch);
}

void SaveSettings(const std::string& path, const TSettings& settings) {
  IniFile file(path);
  WriteSettings(file, settings);
  file.Save();
}

WindowGeometry ReadGeometry(const IniFile& file) {
  WindowGeometry g;
  g.xpos = file.ReadInteger(kSection, "Xpos", g.xpos);
  g.ypos = file.ReadInteger(kSection, "ypos", g.ypos);
  g.xsiz = file.ReadInteger(kSection, "Xsiz", g.xsiz);
  g.ysiz = file.ReadInteger(kSection, "Ysiz", g.ysiz);
  g.state = file.ReadBool(kSection, "state", g.state);
  return g;
}

void SaveGeometry(const std::string& path, const WindowGeometry& geometry, bool maximised) {
  IniFile file(path);
  if (maximised) {
    file.WriteBool(kSection, "state", true);
  } else {
    file.WriteBool(kSection, "state", false);
    file.WriteInteger(kSection, "xpos", geometry.xpos);
    file.WriteInteger(kSection, "ypos", geometry.ypos);
    file.WriteInteger(kSection, "xsiz", geometry.xsiz);
    file.WriteInteger(kSection, "ysiz", geometry.ysiz);
  }
  file.Save();
}
