#include "composition/composition.h"

#include <stdlib.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <iomanip>
#include <locale>
#include <sstream>

#include "base/exceptions.h"

std::string CreationNotes() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::ostringstream text;
  try {
    text.imbue(std::locale(""));
  } catch (const std::runtime_error&) {
    // An unknown locale in the environment: the classic formats serve.
  }
  text << "Composition version " << TpunCompo::kFormatVersion
       << " \r\nCreated : " << std::put_time(&local, "%x") << ' ' << std::put_time(&local, "%X")
       << "\r\n\r\n";
  return text.str();
}

TpunCompo::TpunCompo(const TpunPal* palette) {
  if (palette) {
    RefPalette.Assign(*palette);
    ResetPalette();
  }
  SetNotes(CreationNotes());
}

void TpunCompo::Assign(const TpunCompo& other) {
  if (&other == this) return;
  Palette.Assign(other.Palette);
  Width = other.Width;
  Height = other.Height;
  LoadedFromFile = other.LoadedFromFile;
  SetTransparencyOn(other.TransparencyOn);
  SetTransparentColor(other.TransparentColor);
  SetCottonSize(other.CottonSize);
  SetZoom(other.Zoom);
  SetPicture(other.SourcePicture);
  SetNotes(other.Notes);
}

void TpunCompo::SetPicture(std::optional<PictureBlock> block) {
  SourcePicture.reset();
  MappedPicture.reset();
  if (!block) return;
  SourcePicture = std::move(block);
  MappedPicture = SourcePicture;
}

void TpunCompo::ResetMappedPicture() {
  if (SourcePicture) MappedPicture = SourcePicture;
}

void TpunCompo::ResetPalette() {
  Palette.Assign(RefPalette);
  TransparencyOn = false;
  Modified = true;
}

void TpunCompo::SetNotes(const std::string& notes) {
  Notes = notes;
  Modified = true;
}

void TpunCompo::SetCottonSize(uint8_t size) {
  CottonSize = size;
  Modified = true;
}

void TpunCompo::SetZoom(uint8_t zoom) {
  Zoom = zoom;
  Modified = true;
}

void TpunCompo::SetTransparencyOn(bool on) {
  TransparencyOn = on;
  Modified = true;
}

void TpunCompo::SetTransparentColor(int32_t index) {
  TransparentColor = index;
  Modified = true;
}

uint16_t TpunCompo::FabricCount() const {
  switch (CottonSize) {
    case 0:
      return 11;
    case 1:
      return 14;
    case 2:
      return 18;
    case 3:
      return 22;
    default:
      return 0;
  }
}

void TpunCompo::Progress(const std::string& text, uint16_t percent) {
  if (OnProgress) OnProgress(text, percent);
}

std::string TpunCompo::TempBitmapName() {
  // mkstemps creates the file under its final name at once, so no other program can
  // take the name between choosing and creating it.
  std::string pattern = (std::filesystem::temp_directory_path() / "puntelXXXXXX.bmp").string();
  int fd = mkstemps(pattern.data(), 4);
  if (fd < 0)
    throw EInOutError("Cannot create a temporary file in " + pattern.substr(0, pattern.rfind('/')));
  ::close(fd);
  return pattern;
}
