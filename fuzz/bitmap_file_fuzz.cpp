// Any bytes as a bitmap file, in memory: the reader refuses or takes them without reading past
// them; a picture it takes maps onto the palette and survives an export and a new import.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "composition/bitmap_file.h"
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
  for (uint32_t y = 0; y < compo.Height; ++y)
    for (uint32_t x = 0; x < compo.Width; ++x) {
      const size_t at = PixelOffset(compo.Width, compo.Height, x, y);
      const TColor source = PixelAt(compo.SourcePicture->data(), at);
      const TColor mapped = PixelAt(compo.MappedPicture->data(), at);
      FuzzCheck(mapped == compo.Palette.GetClr(compo.Palette.NearestClr(source)), "mapped color");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TpunCompo compo(&SmallPalette());
  ImportedPicture picture;
  try {
    picture = BitmapPicture(std::vector<uint8_t>(data, data + size));
  } catch (const EBitmapRefused&) {
    return 0;  // refused with a message; that is all it may do
  }
  compo.TakePicture(std::move(picture));
  FuzzCheck(compo.Width > 0 && compo.Height > 0, "empty picture taken");
  const size_t rows = PictureBytes(compo.Width, compo.Height);
  FuzzCheck(compo.SourcePicture->size() >= rows && compo.SourcePicture->size() <= size,
            "picture block size");

  compo.Remap();
  CheckMapped(compo);
  // The export's bytes, as WriteBitmapFile writes them, taken back.
  std::vector<uint8_t> exported = BitmapHeaders(compo.Width, compo.Height);
  exported.insert(exported.end(), compo.SourcePicture->begin(),
                  compo.SourcePicture->begin() + std::ptrdiff_t(rows));
  ImportedPicture again = BitmapPicture(std::move(exported));
  FuzzCheck(again.width == compo.Width && again.height == compo.Height, "sizes changed");
  FuzzCheck(again.block.size() == rows &&
                std::equal(again.block.begin(), again.block.end(), compo.SourcePicture->begin()),
            "pixels changed");
  return 0;
}
