// Any bytes as a settings file: reading never fails or reads out of bounds, an unchanged
// file is given back byte for byte, and values written read back from the saved text. All
// in memory: the file reading itself is ReadWholeFile's, tested on its own.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ini_file.h"
#include "app/settings.h"
#include "fuzz/fuzz_support.h"

namespace {

std::string Cut(const std::string& text) {
  return text.substr(0, IniFile::kMaxValueLength);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini = IniFile::FromBytes(bytes);
  FuzzCheck(ini.Text() == bytes, "an unchanged file is not given back byte for byte");
  const SettingsDefaults defaults{"/prog/", "/start/"};
  TSettings settings = ReadSettings(ini, defaults);
  WindowGeometry geometry = ReadGeometry(ini);

  // Values taken from the input itself, so the writer meets quotes, blanks and long texts.
  settings.PalFile = settings.PalFile + "x";
  settings.Imagepath = "  " + settings.Compopath;
  settings.Compopath = "\"" + settings.ColorPath + "\"";
  settings.CellSize = uint16_t(settings.CellSize + 1);
  settings.Unit = uint8_t(settings.Unit ^ 0x5a);
  settings.FinInWindow = !settings.FinInWindow;
  geometry.xpos = geometry.xpos ^ 0x12345;
  geometry.ysiz = -geometry.ysiz / 2;
  WriteSettings(ini, settings);
  ini.WriteInteger(kSettingsSection, "xpos", geometry.xpos);
  ini.WriteInteger(kSettingsSection, "ysiz", geometry.ysiz);
  ini.WriteString("Fuzz", "echo", bytes.substr(0, bytes.find_first_of("\r\n")));
  IniFile again = IniFile::FromBytes(ini.Text());
  FuzzCheck(again.Text() == ini.Text(), "the saved text reads back otherwise");
  TSettings expected = settings;
  for (std::string* text : {&expected.PalFile, &expected.progpath, &expected.Imagepath,
                            &expected.Compopath, &expected.ColorPath})
    *text = Cut(*text);
  FuzzCheck(ReadSettings(again, defaults) == expected, "settings do not read back");
  WindowGeometry readGeometry = ReadGeometry(again);
  FuzzCheck(readGeometry.xpos == geometry.xpos && readGeometry.ysiz == geometry.ysiz,
            "geometry does not read back");
  FuzzCheck(
      again.ReadString("Fuzz", "echo", "") == Cut(bytes.substr(0, bytes.find_first_of("\r\n"))),
      "a text value does not read back");
  return 0;
}
