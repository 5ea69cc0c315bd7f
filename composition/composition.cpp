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
  // Made once: building the user's locale from the environment costs more than the rest
  // of a new composition.
  static const std::locale user_formats = [] {
    try {
      return std::locale("");
    } catch (const std::runtime_error&) {
      return std::locale::classic();  // an unknown locale in the environment
    }
  }();
  std::ostringstream text;
  text.imbue(user_formats);
  text << "Composition version " << TpunCompo::kFormatVersion
       << " \r\nCreated : " << std::put_time(&local, "%x") << ' ' << std::put_time(&local, "%X")
       << "\r\n\r\n";
  return text.str();
}

const std::atomic<bool>& NeverCancelled() {
  static const std::atomic<bool> never{false};
  return never;
}

TpunCompo::TpunCompo(const TpunPal* palette) {
  if (palette) {
    SetColorMatch(palette->Match());
    ref_palette_.Assign(*palette);
    ResetPalette();
  }
  SetNotes(CreationNotes());
}

void TpunCompo::Assign(const TpunCompo& other) {
  if (&other == this) return;
  SetColorMatch(other.Match());
  palette_.Assign(other.palette_);
  loaded_from_file_ = other.loaded_from_file_;
  SetTransparencyOn(other.transparency_on_);
  SetTransparentColor(other.transparent_color_);
  SetCottonSize(other.cotton_size_);
  SetZoom(other.zoom_);
  SetPicture(other.source_);
  SetNotes(other.notes_);
}

void TpunCompo::SetColorMatch(ColorMatch rule) {
  ref_palette_.SetColorMatch(rule);
  palette_.SetColorMatch(rule);
}

void TpunCompo::SetPicture(TPicture picture) {
  source_ = std::move(picture);
  mapped_ = TPicture();
}

void TpunCompo::ResetPalette() {
  palette_.Assign(ref_palette_);
  transparency_on_ = false;
  modified_ = true;
}

void TpunCompo::SetNotes(const std::string& notes) {
  notes_ = notes;
  modified_ = true;
}

void TpunCompo::SetCottonSize(uint8_t size) {
  cotton_size_ = size;
  modified_ = true;
}

void TpunCompo::SetZoom(uint8_t zoom) {
  zoom_ = zoom;
  modified_ = true;
}

void TpunCompo::SetTransparencyOn(bool on) {
  transparency_on_ = on;
  modified_ = true;
}

void TpunCompo::SetTransparentColor(int32_t index) {
  transparent_color_ = index;
  modified_ = true;
}

void TpunCompo::ColorDeleted(int32_t index) {
  if (!transparency_on_ || index > transparent_color_) return;
  if (index == transparent_color_)
    SetTransparencyOn(false);
  else
    SetTransparentColor(transparent_color_ - 1);
}

uint16_t TpunCompo::FabricCount() const {
  switch (cotton_size_) {
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

void TpunCompo::Progress(const std::string& text, uint16_t percent) const {
  if (on_progress_) on_progress_(text, percent);
}

std::string TpunCompo::TempBitmapName() {
  // mkstemps creates the file under its final name at once, so no other program can
  // take the name between choosing and creating it.
  // The non-raising form: a TMPDIR that names no folder is reported below like any other
  // folder where no file can be made.
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) folder = "/tmp";
  std::string pattern = (folder / "puntelXXXXXX.bmp").string();
  int fd = mkstemps(pattern.data(), 4);
  if (fd < 0)
    throw EInOutError("Cannot create a temporary file in " + pattern.substr(0, pattern.rfind('/')));
  ::close(fd);
  return pattern;
}
