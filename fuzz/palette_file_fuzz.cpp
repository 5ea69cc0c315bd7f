// Feeds arbitrary bytes to the palette file reader; whatever it accepts must survive a
// save in both formats and read back the same.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/exceptions.h"
#include "palette/floss_palette.h"

namespace {

std::string TempName(const char* suffix) {
  return "/tmp/puntel-palette-fuzz-" + std::to_string(getpid()) + suffix;
}

void WriteAll(const std::string& name, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) std::abort();
  if (size && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

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
  static const std::string input = TempName(".in");
  static const std::string native = TempName(".clr");
  static const std::string plain = TempName(".cla");
  WriteAll(input, data, size);
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
