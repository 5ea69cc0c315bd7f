// Feeds arbitrary bytes to the palette file reader, in memory; whatever it accepts must
// survive both formats' bytes and read back the same.

#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "palette/floss_palette.h"
#include "palette/palette_file.h"

namespace {

void CheckRoundTrip(const TpunPal& loaded, const std::string& bytes, size_t name_limit) {
  TpunPal again;
  FuzzCheck(LoadPaletteBytes(again, bytes) && again.Count() == loaded.Count(),
            "saved palette not taken back");
  for (int32_t i = 0; i < loaded.Count(); ++i)
    FuzzCheck(again.GetClr(i) == loaded.GetClr(i) &&
                  again.GetName(i) == loaded.GetName(i).substr(0, name_limit),
              "saved palette read back otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TpunPal palette;
  if (!LoadPaletteBytes(palette, std::string_view(reinterpret_cast<const char*>(data), size))) {
    FuzzCheck(palette.Count() == 0, "a refused palette keeps entries");
    return 0;
  }
  CheckRoundTrip(palette, NativePaletteBytes(palette), 25);
  CheckRoundTrip(palette, PlainPaletteBytes(palette), std::string::npos);
  return 0;
}
