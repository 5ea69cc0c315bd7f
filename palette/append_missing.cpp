#include "palette/append_missing.h"

#include "palette/floss_palette.h"
#include "palette/name_index.h"

int32_t AppendMissing(TpunPal& target, const TpunPal& source) {
  if (&target == &source) return 0;  // every name of a palette is in it already
  FoldedNameIndex names(target.Colors);
  const int32_t before = target.Count();
  target.Colors.Reserve(size_t(before) + size_t(source.Count()));
  for (const ColorEntry& entry : source.Colors.Entries())
    if (names.Add(entry.name, target.Count())) target.AddClr(entry.color, entry.name);
  return target.Count() - before;
}
