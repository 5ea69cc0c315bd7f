// Any bytes as a composition file: the reader refuses or takes them without reading or
// allocating past them; a composition it takes saves, loads and saves again byte for byte.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "base/exceptions.h"
#include "composition/composition.h"
#include "fuzz/fuzz_support.h"

namespace {

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
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
  static const std::string input = FuzzFile("composition-fuzz", "in.dmc");
  static const std::string first = FuzzFile("composition-fuzz", "first.dmc");
  static const std::string second = FuzzFile("composition-fuzz", "second.dmc");
  WriteFuzzInput(input, data, size);

  TpunCompo compo(&SmallPalette());
  if (!compo.LoadFromFile(input)) {
    FuzzCheck(!compo.HasPicture() && compo.Width() == 0 && compo.Palette().Count() == 3,
              "refusal changed it");
    return 0;
  }
  FuzzCheck(!compo.Modified() && compo.LoadedFromFile(), "flags after reading");
  FuzzCheck(!compo.SourcePicture() || compo.SourcePicture().Size() <= size,
            "picture past the file");
  FuzzCheck(!compo.SourcePicture() ||
                compo.SourcePicture().Size() >= PictureBytes(compo.Width(), compo.Height()),
            "picture smaller than its rows");

  compo.SaveToFile(first);
  // A file without colors keeps the working palette of the composition it is read into,
  // so the second composition starts with the first one's.
  TpunCompo again(&SmallPalette());
  again.Palette().Assign(compo.Palette());
  again.Palette().SetThreadCount(compo.Palette().ThreadCount());
  FuzzCheck(again.LoadFromFile(first), "saved composition not taken back");
  again.SaveToFile(second);
  FuzzCheck(ReadAll(first) == ReadAll(second), "second save differs");
  return 0;
}
