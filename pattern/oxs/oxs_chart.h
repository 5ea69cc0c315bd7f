#pragma once
// A pattern as the open cross-stitch interchange format (OXS) holds it: the chart's sizes
// and title, its palette (item 0 the cloth) and one full stitch per stitched cell.

#include <cstdint>
#include <string>
#include <vector>

#include "base/color.h"
#include "base/exceptions.h"

inline constexpr const char* kInvalidOxs = "Invalid OXS file !";

// A file that is no OXS chart this program can read: damaged or truncated XML, sizes
// missing or out of range, a stitch outside the chart or of no palette item.
class EInvalidOxs : public Exception {
 public:
  EInvalidOxs() : Exception(kInvalidOxs) {}
};

struct OxsPaletteItem {
  std::string number;  // brand and floss: "DMC 310", "DMC 310+666"; "cloth" for item 0
  std::string name;    // the floss description
  TColor color = 0;
  char32_t symbol = 0;  // the chart symbol's character; 0 when unknown (not written)
  bool operator==(const OxsPaletteItem&) const = default;
};

struct OxsStitch {
  uint16_t x = 0, y = 0;  // from 0 at the top-left
  uint32_t palindex = 0;  // an index into OxsChart::palette
  bool operator==(const OxsStitch&) const = default;
};

struct OxsChart {
  uint16_t width = 0, height = 0;
  std::string title;
  uint16_t stitches_per_inch = 14;
  std::vector<OxsPaletteItem> palette;  // palette[0] is the cloth
  std::vector<OxsStitch> stitches;
};

// The cloth item every written chart starts its palette with.
inline OxsPaletteItem ClothItem() {
  return {"cloth", "cloth", MakeColor(255, 255, 255), 0};
}
