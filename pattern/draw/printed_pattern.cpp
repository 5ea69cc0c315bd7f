#include "pattern/draw/printed_pattern.h"

#include "composition/composition.h"
#include "pattern/cell_colors.h"
#include "pattern/symbol_table.h"

namespace {

// The face of entry `index`; an entry that does not parse draws a blank cell, as on the
// screen.
SymbolFace FaceOfEntry(const SymbolTable& symbols, int32_t index) {
  try {
    const SymbolEntry entry = symbols.Parse(index);
    return FaceFor(entry.FontName, entry.Code);
  } catch (const Exception&) {
    return SymbolFace{};
  }
}

PrintedFloss FlossOf(const TpunPal& palette, const std::vector<SymbolFace>& faces,
                     const SymbolTable& symbols, int32_t k) {
  PrintedFloss floss;
  floss.color = palette.GetClr(k);
  floss.name = palette.GetName(k);
  const auto symbol = symbols.SymbolOfColor(uint32_t(k), uint32_t(palette.Count()));
  if (!symbol) return floss;
  floss.has_symbol = true;
  floss.face = faces[*symbol];
  return floss;
}

}  // namespace

std::string PatternTitle(const std::string& caption) {
  std::string title = caption;
  const size_t n = title.size();
  if (n > 4 && title[n - 4] == '.' && (title[n - 3] | 0x20) == 'd' &&
      (title[n - 2] | 0x20) == 'm' && (title[n - 1] | 0x20) == 'c')
    title.resize(n - 4);
  return title;
}

PrintedPattern SnapshotPattern(const TpunCompo& compo, const SymbolTable& symbols,
                               const std::vector<std::string>& threads, const FlossBrands& brands,
                               const BrandRequest& request, const std::string& title,
                               const ProgressHandler& progress) {
  const TpunPal& palette = compo.Palette();
  if (int64_t(symbols.Count()) < palette.Count()) throw ETooManyColors();
  PrintedPattern pattern;
  pattern.title = title;
  pattern.width = compo.Width();
  pattern.height = compo.Height();
  pattern.notes = compo.Notes();
  pattern.brand = brands.Resolve(request, threads);
  const FlossTable& table = brands.Table(pattern.brand);
  pattern.key = MakeFlossKey(
      compo, threads, uint32_t(symbols.Count()),
      [&table](const std::string& name) { return table.Description(name); }, progress);
  for (int32_t i = 0; i < symbols.Count(); ++i)
    pattern.table_faces.push_back(FaceOfEntry(symbols, i));
  for (int32_t k = 0; k < palette.Count(); ++k)
    pattern.floss.push_back(FlossOf(palette, pattern.table_faces, symbols, k));
  pattern.cells = CellColors(compo);
  const int32_t transparent = compo.TransparencyOn() ? compo.TransparentColor() : -1;
  for (int32_t& cell : pattern.cells) {
    if (cell == transparent)
      cell = PrintedPattern::kNotStitched;
    else
      ++pattern.stitches;
  }
  return pattern;
}
