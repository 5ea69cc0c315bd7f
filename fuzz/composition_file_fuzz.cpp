// Any bytes as a composition file, read from memory: the reader refuses or takes them
// without reading or allocating past them; a composition it takes saves, loads and saves
// again byte for byte.

#include <cstdint>
#include <string>

#include "base/exceptions.h"
#include "composition/composition.h"
#include "fuzz/fuzz_support.h"

namespace {

// The bytes SaveToFile would write.
std::string SavedBytes(TpunCompo& compo) {
  std::string bytes;
  compo.SaveTo([&](const uint8_t* data, size_t size) {
    bytes.append(reinterpret_cast<const char*>(data), size);
  });
  return bytes;
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
  TpunCompo compo(&SmallPalette());
  try {
    compo.LoadFromBytes(data, size);
  } catch (const Exception&) {
    FuzzCheck(!compo.HasPicture() && compo.Width() == 0 && compo.Palette().Count() == 3,
              "refusal changed it");
    return 0;
  }
  FuzzCheck(!compo.Modified() && compo.LoadedFromFile(), "flags after reading");
  FuzzCheck(compo.Width() > 0 && compo.Height() > 0, "a picture without pixels taken");
  FuzzCheck(compo.SourcePicture().Size() <= size, "picture past the input");
  FuzzCheck(compo.SourcePicture().Size() >= PictureBytes(compo.Width(), compo.Height()),
            "picture smaller than its rows");

  const std::string first = SavedBytes(compo);
  // A file without colors keeps the working palette of the composition it is read into,
  // so the second composition starts with the first one's.
  TpunCompo again(&SmallPalette());
  again.Palette().Assign(compo.Palette());
  again.Palette().SetThreadCount(compo.Palette().ThreadCount());
  try {
    again.LoadFromBytes(reinterpret_cast<const uint8_t*>(first.data()), first.size());
  } catch (const Exception&) {
    FuzzCheck(false, "saved composition not taken back");
  }
  FuzzCheck(SavedBytes(again) == first, "second save differs");
  return 0;
}
