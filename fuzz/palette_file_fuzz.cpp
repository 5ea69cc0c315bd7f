// Feeds arbitrary bytes to the palette file reader; whatever it accepts must survive a
// save in both formats and read back the same.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"
#include "fuzz/fuzz_support.h"
#include "palette/floss_palette.h"

namespace {

void CheckRoundTrip(const TpunPal& loaded, const std::string& name, size_t name_limit) {
  loaded.SaveToFile(name);
  TpunPal again;
  if (!again.LoadFromFile(name) || again.Count() != loaded.Count()) std::abort();
  for (int32_t i = 0; i < loaded.Count(); ++i)
    if (again.GetClr(i) != loaded.GetClr(i) ||
        again.GetName(i) != loaded.GetName(i).substr(0, name_limit))
      std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = FuzzFile("palette-fuzz", "in.clr");
  static const std::string native = FuzzFile("palette-fuzz", "out.clr");
  static const std::string plain = FuzzFile("palette-fuzz", "out.cla");
  WriteFuzzInput(input, data, size);
  TpunPal palette;
  bool loaded = false;
  try {
    loaded = palette.LoadFromFile(input);
  } catch (const Exception&) {
    return 0;  // a damaged file is refused with a message; that is all it may do
  }
  if (!loaded) {
    if (palette.Count() != 0) std::abort();
    return 0;
  }
  CheckRoundTrip(palette, native, 25);
  CheckRoundTrip(palette, plain, std::string::npos);
  return 0;
}
