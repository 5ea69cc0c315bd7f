#include "pattern/floss_key.h"

#include "composition/composition.h"
#include "composition/histogram.h"
#include "pattern/report_lines.h"
#include "pattern/symbol_table.h"

namespace {

// Cotton size 1 is 14 count: the size a key without a fabric is reckoned at.
constexpr uint8_t kAssumedCottonSize = 1;

std::string Described(const FlossDescriber& describe, const std::string& name) {
  return describe ? describe(name) : std::string();
}

// The transparent color's palette index, when transparency is on and it names an entry.
std::optional<size_t> TransparentEntry(const TpunCompo& compo) {
  const int32_t index = compo.TransparentColor();
  if (!compo.TransparencyOn() || index < 0 || index >= compo.Palette().Count()) return {};
  return size_t(index);
}

KeyRow RowOf(const TpunCompo& compo, size_t k, uint64_t cells, uint32_t symbols, uint32_t factor,
             const FlossDescriber& describe) {
  const TpunPal& palette = compo.Palette();
  KeyRow row;
  row.palette_index = int32_t(k);
  row.symbol = SymbolOfColor(uint32_t(k), symbols, uint32_t(palette.Count()));
  row.color = palette.GetClr(row.palette_index);
  row.floss = palette.GetName(row.palette_index);
  row.description = Described(describe, row.floss);
  row.stitches = cells;
  std::string first, second;
  if (!SplitBlend(row.floss, first, second)) {
    row.skeins = {NeedOfThread(2 * cells, factor).skeins};
  } else {
    const uint64_t each = NeedOfThread(cells, factor).skeins;
    row.skeins = {each, each};
  }
  return row;
}

}  // namespace

std::string KeyRow::SkeinsText() const {
  std::string text;
  for (uint64_t s : skeins) text += (text.empty() ? "" : " + ") + std::to_string(s);
  return text;
}

FlossKey MakeFlossKey(const TpunCompo& compo, const std::vector<std::string>& threads,
                      uint32_t symbols, const FlossDescriber& describe,
                      const ProgressHandler& progress) {
  FlossKey key;
  uint8_t cotton = compo.CottonSize();
  if (ThreadLengthFactor(cotton) == 0) {
    cotton = kAssumedCottonSize;
    key.fabric_note = kFabricUnknownNote;
  }
  const uint32_t factor = ThreadLengthFactor(cotton);
  key.fabric_count = key.fabric_note.empty() ? compo.FabricCount() : 14;

  DotCounts stitched = CountDots(compo, compo.Palette(), progress);
  const std::optional<size_t> transparent = TransparentEntry(compo);
  for (size_t k = 0; k < stitched.size(); ++k) {
    if (stitched[k] == 0) continue;
    if (k == transparent) {
      KeyRow row = RowOf(compo, k, 0, symbols, factor, describe);
      row.not_stitched = true;
      row.skeins.clear();
      key.rows.push_back(std::move(row));
      continue;
    }
    key.rows.push_back(RowOf(compo, k, stitched[k], symbols, factor, describe));
    key.total_stitches += stitched[k];
  }
  // Not stitched, so no thread is bought for them.
  if (transparent) stitched[*transparent] = 0;

  const std::vector<uint64_t> uses = ThreadUses(compo.Palette(), threads, stitched);
  for (size_t t = 0; t < threads.size(); ++t) {
    const ThreadNeed need = NeedOfThread(uses[t], factor);
    key.to_buy.push_back(
        {threads[t], Described(describe, threads[t]), uses[t], need.hundredths, need.skeins});
    key.total_hundredths += need.hundredths;
    key.total_skeins += need.skeins;
  }
  if (progress) progress("", 0);
  return key;
}

std::string MetresText(uint64_t hundredths) {
  const uint64_t cm = (hundredths + 99) / 100;
  const uint64_t cents = cm % 100;
  return std::to_string(cm / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}
