// Any bytes as a composition file: the reader refuses or takes them without reading or
// allocating past them; a composition it takes saves, loads and saves again byte for byte.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "base/exceptions.h"
#include "base/message_seam.h"
#include "composition/composition.h"

namespace {

class SilentMessages : public MessageSeam {
 public:
  void Error(const std::string&) override {}
  void Info(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
};

std::string TempName(const char* suffix) {
  return "/tmp/puntel-composition-fuzz-" + std::to_string(getpid()) + suffix;
}

void WriteAll(const std::string& name, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) std::abort();
  if (size && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "composition_file_fuzz: %s\n", what);
    std::abort();
  }
}

const TpunPal& SmallPalette() {
  static const TpunPal* palette = [] {
    auto* made = new TpunPal;
    made->AddClr(MakeColor(0, 0, 0), "310");
    made->AddClr(MakeColor(200, 30, 40), "321");
    made->AddClr(MakeColor(20, 90, 200), "797");
    return made;
  }();
  return *palette;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SilentMessages silent;
  static const bool installed = (InstallMessages(&silent), true);
  (void)installed;
  static const std::string input = TempName(".in.dmc");
  static const std::string first = TempName(".first.dmc");
  static const std::string second = TempName(".second.dmc");
  WriteAll(input, data, size);

  TpunCompo compo(&SmallPalette());
  if (!compo.LoadFromFile(input)) {
    Check(!compo.HasPicture() && compo.Width == 0 && compo.Palette.Count() == 3,
          "refusal changed it");
    return 0;
  }
  Check(!compo.Modified && compo.LoadedFromFile, "flags after reading");
  Check(!compo.SourcePicture || compo.SourcePicture->size() <= size, "picture past the file");
  Check(!compo.SourcePicture ||
            compo.SourcePicture->size() >= PictureBytes(compo.Width, compo.Height),
        "picture smaller than its rows");

  compo.SaveToFile(first);
  // A file without colours keeps the working palette of the composition it is read into,
  // so the second composition starts with the first one's.
  TpunCompo again(&SmallPalette());
  again.Palette.Assign(compo.Palette);
  again.Palette.SetThreadCount(compo.Palette.ThreadCount());
  Check(again.LoadFromFile(first), "saved composition not taken back");
  again.SaveToFile(second);
  Check(ReadAll(first) == ReadAll(second), "second save differs");
  return 0;
}
