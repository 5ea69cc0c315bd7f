#include "palette/append_missing.h"

#include "palette/floss_palette.h"
#include "palette/name_index.h"

int32_t AppendMissing(TpunPal& target, const TpunPal& source) {
  return AppendMissing(target, source.Colors.Entries());
}

int32_t AppendMissing(TpunPal& target, const std::vector<ColorEntry>& source) {
  // The target's own entries hold every name already; appending while reading them
  // would also read moved memory.
  if (&source == &target.Colors.Entries()) return 0;
  FoldedNameIndex names(target.Colors);
  const int32_t before = target.Count();
  target.Colors.Reserve(size_t(before) + source.size());
  for (const ColorEntry& entry : source)
    if (names.Add(entry.name, target.Count())) target.AddClr(entry.color, entry.name);
  return target.Count() - before;
}
