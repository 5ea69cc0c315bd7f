#include "palette/zip_cipher.h"

std::string_view PaletteCipherKey() {
  static constexpr char kKey[] =
      "Counted cross stitch palette: one floss, one colour, one row\r\n"
      "Thread the needle, count 14";
  // sizeof counts the array's terminating NUL, which is part of the key.
  static_assert(sizeof kKey == 90);
  return std::string_view(kKey, sizeof kKey);
}
