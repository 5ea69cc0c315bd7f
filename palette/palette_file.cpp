#include "palette/palette_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "base/atomic_file.h"
#include "base/int_parse.h"
#include "base/latin1.h"
#include "palette/crypt_file.h"
#include "palette/floss_palette.h"
#include "palette/palette_errors.h"

namespace {

constexpr const char* kHeader = "PUNTEL Palette File";
constexpr const char* kNativeMagic = "PUNPAL";
constexpr const char* kCwpalMagic = "CWPAL";
constexpr size_t kNativeNameLength = 25;

bool FileExists(const std::string& name) {
  struct stat info {};
  return ::stat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void CheckExists(const std::string& name) {
  if (!FileExists(name)) throw EInvalidFileName("(TpunPal.LoadFromFile) : File not found !");
}

// Plain text lines; CR LF, LF and CR each end a line, and the end of the file reads as
// an empty line.
class TextLines {
 public:
  explicit TextLines(const std::string& name) : file_(std::fopen(name.c_str(), "rb")) {
    if (!file_) throw ETcryptFile("Enable to open input file !");
  }
  std::string Next() {
    std::string line;
    for (int c; (c = std::getc(file_.get())) != EOF;) {
      if (c == '\n') break;
      if (c == '\r') {
        int after = std::getc(file_.get());
        if (after != '\n' && after != EOF) std::ungetc(after, file_.get());
        break;
      }
      line.push_back(char(c));
    }
    return line;
  }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

// The CWPAL body after its magic line: an ignored line, N, N colours, N names.
template <typename NextLine>
void ReadCwpalBody(TpunPal& palette, NextLine next) {
  next();
  const int32_t count = StrToInt(next());
  for (int32_t k = 0; k < count; ++k) palette.AddClr(ParseColorLine(next()), " ");
  for (int32_t k = 0; k < count; ++k) palette.Colors.PutString(k, next());
}

bool ReadEncipheredCwpal(TpunPal& palette, const std::string& name) {
  CryptFile file;
  file.OpenRead(name, PaletteCipherKey());
  file.ReadPlainLine();
  if (file.ReadEncipheredLine() != kCwpalMagic) return false;
  ReadCwpalBody(palette, [&] { return file.ReadEncipheredLine(); });
  file.Close();
  palette.Modified = true;
  return true;
}

bool ReadPlainCwpal(TpunPal& palette, const std::string& name) {
  CheckExists(name);
  TextLines lines(name);
  if (lines.Next() != kCwpalMagic) return false;
  ReadCwpalBody(palette, [&] { return lines.Next(); });
  palette.Modified = true;
  return true;
}

std::string CwpalText(const TpunPal& palette) {
  std::string text = std::string(kCwpalMagic) + "\r\n100\r\n" + std::to_string(palette.Count()) +
                     "\r\n";
  for (const auto& entry : palette.Colors.Entries()) text += FormatColorLine(entry.color) + "\r\n";
  for (const auto& entry : palette.Colors.Entries()) text += entry.name + "\r\n";
  return text;
}

void WriteNative(const TpunPal& palette, const std::string& name, const std::string& target) {
  CryptFile file;
  file.OpenWrite(name, PaletteCipherKey(), target);
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

bool LoadPaletteFile(TpunPal& palette, const std::string& name) {
  CheckExists(name);
  palette.Clear();
  std::string second;
  {
    CryptFile file;
    file.OpenRead(name, PaletteCipherKey());
    if (file.ReadPlainLine() != kHeader) {
      file.Close();
      return ReadPlainCwpal(palette, name);
    }
    second = file.ReadEncipheredLine();
    if (second == kNativeMagic) {
      const int32_t count = StrToInt(file.ReadEncipheredLine());
      for (int32_t k = 0; k < count; ++k) {
        std::string entry_name = file.ReadEncipheredLine();
        palette.AddClr(ParseColorLine(file.ReadEncipheredLine()), entry_name);
      }
      file.Close();
      palette.Modified = true;
      return true;
    }
  }
  return second == kCwpalMagic && ReadEncipheredCwpal(palette, name);
}

void SavePaletteFile(const TpunPal& palette, const std::string& name) {
  ReplacementFile target(name);
  if (!target.Created()) throw ETcryptFile("Enable to create output file !");
  if (LowerAscii(name).find(".cla") != std::string::npos)
    target.Write(CwpalText(palette));
  else
    WriteNative(palette, target.TempPath(), target.Target());
  target.Commit();
}
