#include "pattern/oxs/oxs_composition.h"

#include "composition/composition.h"
#include "composition/pixel_mapping.h"
#include "pattern/cell_colors.h"
#include "pattern/symbol_character.h"
#include "pattern/symbol_table.h"

namespace {

// "DMC 310" for a brand, the name alone for none.
std::string OxsFlossNumber(FlossBrand brand, const std::string& name) {
  const std::string label = BrandLabel(brand);
  return label.empty() ? name : label + " " + name;
}

OxsPaletteItem ItemOf(const TpunCompo& compo, const SymbolTable& symbols,
                      const OxsFlossNames& names, int32_t k) {
  const TpunPal& palette = compo.Palette();
  const std::string name = palette.GetName(k);
  return {OxsFlossNumber(names.brand, name), names.table ? names.table->Description(name) : "",
          palette.GetClr(k), ChartSymbolCharacter(symbols, uint32_t(k), uint32_t(palette.Count()))};
}

}  // namespace

char32_t ChartSymbolCharacter(const SymbolTable& symbols, uint32_t color, uint32_t colors) {
  const auto symbol = symbols.SymbolOfColor(color, colors);
  if (!symbol) return 0;
  SymbolEntry entry;
  try {
    entry = symbols.Parse(int32_t(*symbol));
  } catch (const Exception&) {
    return 0;  // the chart draws it blank
  }
  const CharacterChoice choice =
      CharacterFor(SubstituteFor(entry.FontName).rule, entry.Character());
  return choice.digits ? 0 : choice.character;
}

OxsFlossNames ChooseFlossNames(const FlossBrands& brands, const BrandRequest& request,
                               TpunPal& palette) {
  std::vector<std::string> threads;
  palette.ListThreads(threads);
  const FlossBrand brand = brands.Resolve(request, threads);
  return {brand, &brands.Table(brand)};
}

OxsChart ChartOfComposition(const TpunCompo& compo, const SymbolTable& symbols,
                            const OxsFlossNames& names, const std::string& title) {
  OxsChart chart;
  chart.width = compo.Width();
  chart.height = compo.Height();
  chart.title = title;
  if (compo.FabricCount() != 0) chart.stitches_per_inch = compo.FabricCount();
  chart.palette.push_back(ClothItem());
  const int32_t colors = compo.Palette().Count();
  if (colors == 0 || !compo.HasPicture()) return chart;
  const std::vector<int32_t> cells = CellColors(compo);
  const int32_t transparent = compo.TransparencyOn() ? compo.TransparentColor() : -1;
  std::vector<uint32_t> palindex(size_t(colors), 0);  // 0 while unused
  for (int32_t cell : cells)
    if (cell != transparent) palindex[size_t(cell)] = 1;
  for (int32_t k = 0; k < colors; ++k) {
    if (palindex[size_t(k)] == 0) continue;
    palindex[size_t(k)] = uint32_t(chart.palette.size());
    chart.palette.push_back(ItemOf(compo, symbols, names, k));
  }
  size_t stitched = 0;
  for (int32_t cell : cells) stitched += cell != transparent;
  chart.stitches.reserve(stitched);
  for (size_t i = 0; i < cells.size(); ++i)
    if (cells[i] != transparent)
      chart.stitches.push_back(
          {uint16_t(i % chart.width), uint16_t(i / chart.width), palindex[size_t(cells[i])]});
  return chart;
}

void PutChartOnComposition(const OxsChart& chart, TpunCompo& compo) {
  const TpunPal& palette = compo.Palette();
  std::vector<TColor> floss(chart.palette.size());
  for (size_t k = 0; k < floss.size(); ++k)
    floss[k] = palette.Count() > 0 ? palette.GetClr(palette.NearestClr(chart.palette[k].color))
                                   : chart.palette[k].color;
  const TColor cloth = MakeColor(255, 255, 255);
  const uint32_t width = chart.width, height = chart.height;
  PictureBlock block = NewPictureBlock(PictureBytes(width, height));
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      PutPixelAt(block.data(), PixelOffset(width, height, x, y), cloth);
  for (const OxsStitch& stitch : chart.stitches)
    PutPixelAt(block.data(), PixelOffset(width, height, stitch.x, stitch.y),
               stitch.palindex == 0 ? cloth : floss[stitch.palindex]);
  compo.SetPicture(TPicture(uint16_t(width), uint16_t(height), std::move(block)));
  // An unknown count keeps the usual cotton size, 14 per inch.
  uint8_t cotton = 1;
  for (uint8_t size = 0; size <= 3; ++size) {
    compo.SetCottonSize(size);
    if (compo.FabricCount() == chart.stitches_per_inch) cotton = size;
  }
  compo.SetCottonSize(cotton);
  compo.SetModified(true);
}
