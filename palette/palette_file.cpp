#include "palette/palette_file.h"

#include <vector>

#include "base/atomic_file.h"
#include "base/int_parse.h"
#include "base/latin1.h"
#include "base/whole_file.h"
#include "palette/crypt_file.h"
#include "palette/floss_palette.h"
#include "palette/palette_errors.h"

namespace {

constexpr const char* kHeader = "PUNTEL Palette File";
constexpr const char* kNativeMagic = "PUNPAL";
constexpr const char* kCwpalMagic = "CWPAL";
constexpr size_t kNativeNameLength = 25;

// The whole file, read at once: the bytes are parsed as LoadPaletteBytes parses them.
std::string ReadPaletteFile(const std::string& name) {
  std::string bytes;
  switch (ReadWholeFile(name, bytes, kPaletteFileLimit)) {
    case WholeFile::kRead:
      return bytes;
    case WholeFile::kMissing:
      throw EInvalidFileName("(TpunPal.LoadFromFile) : File not found !");
    case WholeFile::kUnreadable:
      break;
  }
  throw EInvalidFileName(FormatMessage("Unable to read %s", name));
}

// Plain text lines; CR LF, LF and CR each end a line, and past the end every line reads
// empty.
class TextLines {
 public:
  explicit TextLines(const std::string& bytes) : lines_(SplitLines(bytes)) {}
  std::string Next() { return next_ < lines_.size() ? lines_[next_++] : std::string(); }

 private:
  std::vector<std::string> lines_;
  size_t next_ = 0;
};

// The CWPAL body after its magic line: an ignored line, N, N colors, N names.
template <typename NextLine>
void ReadCwpalBody(TpunPal& palette, NextLine next) {
  next();
  const int32_t count = StrToInt(next());
  for (int32_t k = 0; k < count; ++k) palette.AddClr(ParseColorLine(next()), " ");
  for (int32_t k = 0; k < count; ++k) palette.Colors.PutString(k, next());
}

// Any of the three formats from `file`, open at its start. The plain CWPAL format, whose
// lines end differently, is read from the whole of the bytes that plain_bytes() gives.
template <typename PlainBytes>
bool ReadPalette(TpunPal& palette, CryptFile& file, PlainBytes plain_bytes) {
  if (file.ReadPlainLine() != kHeader) {
    file.Close();
    TextLines lines(plain_bytes());
    if (lines.Next() != kCwpalMagic) return false;
    ReadCwpalBody(palette, [&] { return lines.Next(); });
  } else {
    const std::string second = file.ReadEncipheredLine();
    if (second == kNativeMagic) {
      const int32_t count = StrToInt(file.ReadEncipheredLine());
      for (int32_t k = 0; k < count; ++k) {
        std::string entry_name = file.ReadEncipheredLine();
        palette.AddClr(ParseColorLine(file.ReadEncipheredLine()), entry_name);
      }
    } else if (second == kCwpalMagic) {
      ReadCwpalBody(palette, [&] { return file.ReadEncipheredLine(); });
    } else {
      return false;
    }
    file.Close();
  }
  palette.Modified = true;
  return true;
}

std::string CwpalText(const TpunPal& palette) {
  std::string text =
      std::string(kCwpalMagic) + "\r\n100\r\n" + std::to_string(palette.Count()) + "\r\n";
  for (const auto& entry : palette.Colors.Entries()) text += FormatColorLine(entry.color) + "\r\n";
  for (const auto& entry : palette.Colors.Entries()) text += entry.name + "\r\n";
  return text;
}

void WriteNative(const TpunPal& palette, CryptFile& file) {
  file.WritePlainLine(kHeader);
  file.WriteEncipheredLine(kNativeMagic);
  file.WriteEncipheredLine(std::to_string(palette.Count()));
  for (const auto& entry : palette.Colors.Entries()) {
    file.WriteEncipheredLine(entry.name.substr(0, kNativeNameLength));
    file.WriteEncipheredLine(FormatColorLine(entry.color));
  }
  file.Close();
}

}  // namespace

std::string FormatColorLine(TColor color) {
  return std::to_string(RedOf(color)) + " " + std::to_string(GreenOf(color)) + " " +
         std::to_string(BlueOf(color));
}

TColor ParseColorLine(const std::string& line) {
  std::string rest = line;
  auto take = [&rest]() {
    auto blank = rest.find(' ');
    std::string number = blank == std::string::npos ? std::string() : rest.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
    return StrToInt(number.substr(0, 5));
  };
  int32_t red = take();
  int32_t green = take();
  int32_t blue = StrToInt(rest);
  return MakeColor(uint8_t(red), uint8_t(green), uint8_t(blue));
}

namespace {

// Raises what the reading raises (a damaged number: EConvertError).
bool ReadPaletteBytes(TpunPal& palette, std::string_view bytes) {
  palette.Clear();
  CryptFile file;
  file.OpenBytes(bytes, PaletteCipherKey());
  return ReadPalette(palette, file, [&] { return std::string(bytes); });
}

}  // namespace

void LoadPaletteFile(TpunPal& palette, const std::string& name) {
  const std::string bytes = ReadPaletteFile(name);
  if (!ReadPaletteBytes(palette, bytes)) throw ENotPaletteFile("not a palette file");
}

bool LoadPaletteBytes(TpunPal& palette, std::string_view bytes) {
  try {
    return ReadPaletteBytes(palette, bytes);
  } catch (const Exception&) {
    palette.Clear();
    return false;
  }
}

std::string PlainPaletteBytes(const TpunPal& palette) {
  return CwpalText(palette);
}

std::string NativePaletteBytes(const TpunPal& palette) {
  std::string bytes;
  CryptFile file;
  file.OpenString(bytes, PaletteCipherKey());
  WriteNative(palette, file);
  return bytes;
}

void SavePaletteFile(const TpunPal& palette, const std::string& name) {
  ReplacementFile target(name);
  if (!target.Created()) throw ETcryptFile("Enable to create output file !");
  const bool plain = LowerAscii(name).find(".cla") != std::string::npos;
  target.Write(plain ? CwpalText(palette) : NativePaletteBytes(palette));
  target.Commit();
}
