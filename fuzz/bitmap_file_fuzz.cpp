// Any bytes as a bitmap file: the reader refuses or takes them without reading past them;
// a picture it takes maps onto the palette and survives an export and a new import.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"
#include "composition/composition.h"
#include "fuzz/fuzz_support.h"

namespace {

const TpunPal& SmallPalette() {
  static const TpunPal* palette = [] {
    auto* made = new TpunPal;
    made->AddClr(MakeColor(0, 0, 0), "310");
    made->AddClr(MakeColor(255, 255, 255), "B5200");
    made->AddClr(MakeColor(200, 30, 40), "321");
    made->AddClr(MakeColor(20, 90, 200), "797");
    return made;
  }();
  return *palette;
}

// Every mapped pixel is a palette color, or grey for the transparent entry.
void CheckMapped(const TpunCompo& compo) {
  for (uint32_t y = 0; y < compo.Height(); ++y)
    for (uint32_t x = 0; x < compo.Width(); ++x) {
      const size_t at = PixelOffset(compo.Width(), compo.Height(), x, y);
      const TColor source = PixelAt(compo.SourcePicture().Data(), at);
      const TColor mapped = PixelAt(compo.MappedPicture().Data(), at);
      FuzzCheck(mapped == compo.Palette().GetClr(compo.Palette().NearestClr(source)),
                "mapped color");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SilentMessages silent;
  static const bool installed = (InstallMessages(&silent), true);
  (void)installed;
  static const std::string input = FuzzFile("bitmap-fuzz", "in.bmp");
  static const std::string output = FuzzFile("bitmap-fuzz", "out.bmp");
  WriteFuzzInput(input, data, size);

  TpunCompo compo(&SmallPalette());
  bool taken = false;
  try {
    taken = compo.ImportBitmap(input);
  } catch (const Exception&) {
    return 0;  // too short to be a bitmap: refused with an error
  }
  if (!taken) {
    FuzzCheck(!compo.HasPicture() && compo.Width() == 0 && compo.Height() == 0,
              "refusal changed it");
    return 0;
  }
  FuzzCheck(compo.Width() > 0 && compo.Height() > 0, "empty picture taken");
  const size_t rows = PictureBytes(compo.Width(), compo.Height());
  FuzzCheck(compo.SourcePicture().Size() >= rows && compo.SourcePicture().Size() <= size,
            "picture block size");

  compo.Remap();
  CheckMapped(compo);
  compo.ExportBitmap(output);

  TpunCompo again(&SmallPalette());
  FuzzCheck(again.ImportBitmap(output), "export not taken back");
  FuzzCheck(again.Width() == compo.Width() && again.Height() == compo.Height(), "sizes changed");
  FuzzCheck(std::equal(again.SourcePicture().Block().begin(), again.SourcePicture().Block().end(),
                       compo.SourcePicture().Block().begin()) &&
                again.SourcePicture().Size() == rows,
            "pixels changed");
  return 0;
}
