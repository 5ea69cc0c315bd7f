#include "palette/name_index.h"

#include "base/latin1.h"

FoldedNameIndex::FoldedNameIndex(const TColorList& list) {
  const auto& entries = list.Entries();
  first_.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) Add(entries[i].name, int32_t(i));
}

int32_t FoldedNameIndex::Find(std::string_view name) const {
  const auto found = first_.find(FoldCase(name));
  return found == first_.end() ? -1 : found->second;
}

bool FoldedNameIndex::Add(std::string_view name, int32_t index) {
  return first_.try_emplace(FoldCase(name), index).second;
}
