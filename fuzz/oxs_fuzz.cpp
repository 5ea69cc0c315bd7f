// Any bytes as an OXS file: the reader refuses them with EInvalidOxs or gives a chart whose
// every stitch lies inside it and names a palette item; an accepted chart writes and reads
// back the same, and a small one becomes a composition's picture; all in memory.

#include <cstdint>
#include <string>

#include "composition/composition.h"
#include "fuzz/fuzz_support.h"
#include "pattern/oxs/oxs_composition.h"
#include "pattern/oxs/oxs_reader.h"
#include "pattern/oxs/oxs_writer.h"

namespace {

// Past this many cells a picture costs more than a fuzz run should spend on one input.
constexpr uint64_t kMostPictureCells = uint64_t(1) << 16;

void CheckChart(const OxsChart& chart) {
  FuzzCheck(chart.width > 0 && chart.height > 0, "a chart without a size");
  for (const OxsStitch& stitch : chart.stitches) {
    FuzzCheck(stitch.x < chart.width && stitch.y < chart.height, "a stitch outside the chart");
    FuzzCheck(stitch.palindex < chart.palette.size(), "a stitch of no palette item");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OxsChart chart;
  try {
    chart = ReadOxs(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const EInvalidOxs&) {
    return 0;
  }
  CheckChart(chart);
  const OxsChart again = ReadOxs(OxsBytes(chart));
  FuzzCheck(again.width == chart.width && again.height == chart.height, "sizes changed");
  FuzzCheck(again.stitches == chart.stitches, "the stitches changed");
  FuzzCheck(again.palette.size() == chart.palette.size(), "the palette changed");
  for (size_t k = 0; k < chart.palette.size(); ++k)
    FuzzCheck(again.palette[k].color == chart.palette[k].color, "a colour changed");
  if (uint64_t(chart.width) * chart.height <= kMostPictureCells) {
    TpunPal palette;
    palette.AddClr(MakeColor(0, 0, 0), "310");
    palette.AddClr(MakeColor(255, 255, 255), "Blanc");
    TpunCompo compo(&palette);
    PutChartOnComposition(chart, compo);
    FuzzCheck(compo.Width() == chart.width && compo.Height() == chart.height,
              "the picture has other sizes");
  }
  return 0;
}
