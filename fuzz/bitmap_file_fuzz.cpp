// Any bytes as a bitmap file, in memory: the reader refuses or takes them without reading past
// them, and its headers alone say the same; a picture it takes maps onto the palette and
// survives an export and a new import.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"
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
  for (uint32_t y = 0; y < compo.Height(); ++y)
    for (uint32_t x = 0; x < compo.Width(); ++x) {
      const size_t at = PixelOffset(compo.Width(), compo.Height(), x, y);
      const TColor source = PixelAt(compo.SourcePicture().Data(), at);
      const TColor mapped = PixelAt(compo.MappedPicture().Data(), at);
      FuzzCheck(mapped == compo.Palette().GetClr(compo.Palette().NearestClr(source)),
                "mapped color");
    }
}

// The headers alone, as a file is read first, give the whole file's verdict and layout.
void CheckHeadersAlone(const uint8_t* data, size_t size, BitmapVerdict verdict,
                       const BitmapLayout& layout) {
  const std::vector<uint8_t> prefix(data, data + std::min(size, kBitmapHeadersPrefix));
  BitmapLayout alone;
  FuzzCheck(CheckBitmapHeaders(prefix.data(), prefix.size(), size, alone) == verdict,
            "headers alone give another verdict");
  if (verdict != BitmapVerdict::Taken) return;
  FuzzCheck(alone.width == layout.width && alone.height == layout.height &&
                alone.top_down == layout.top_down && alone.format == layout.format &&
                alone.pixel_offset == layout.pixel_offset,
            "headers alone give another layout");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BitmapLayout layout;
  const BitmapVerdict verdict = CheckBitmap(data, size, layout);
  CheckHeadersAlone(data, size, verdict, layout);
  if (verdict != BitmapVerdict::Taken) return 0;
  // One composition for every input: its palette, and so the search structure built for
  // it, stays; only the picture changes.
  static TpunCompo compo(&SmallPalette());
  compo.SetPicture(TPicture(layout.width, layout.height,
                            TakeBitmapPixels(std::vector<uint8_t>(data, data + size), layout)));
  FuzzCheck(compo.Width() > 0 && compo.Height() > 0, "empty picture taken");
  const size_t rows = PictureBytes(compo.Width(), compo.Height());
  FuzzCheck(compo.SourcePicture().Size() >= rows && compo.SourcePicture().Size() <= size,
            "picture block size");
  // Only 24-bit pixel data is kept to the end of the file; 32-bit gives exactly the rows.
  FuzzCheck(layout.format == BitmapPixelFormat::Bgr24 || compo.SourcePicture().Size() == rows,
            "converted block size");

  compo.Remap();
  CheckMapped(compo);

  // The export's bytes, taken back as an import takes them.
  std::vector<uint8_t> exported = BitmapHeaders(compo.Width(), compo.Height());
  exported.insert(exported.end(), compo.SourcePicture().Data(),
                  compo.SourcePicture().Data() + rows);
  BitmapLayout again;
  FuzzCheck(CheckBitmap(exported.data(), exported.size(), again) == BitmapVerdict::Taken,
            "export not taken back");
  FuzzCheck(again.width == compo.Width() && again.height == compo.Height(), "sizes changed");
  const PictureBlock pixels = TakeBitmapPixels(std::move(exported), again);
  FuzzCheck(pixels.size() == rows &&
                std::equal(pixels.begin(), pixels.end(), compo.SourcePicture().Block().begin()),
            "pixels changed");
  return 0;
}
