#pragma once
// The names of a color list, ignoring letter case as IndexOfName does, for commands that
// check many names against one palette: built once, each check then costs one lookup
// instead of a pass over the list.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "palette/color_list.h"

class FoldedNameIndex {
 public:
  FoldedNameIndex() = default;
  explicit FoldedNameIndex(const TColorList& list);

  // What list.IndexOfName(name) gave for the list indexed plus every name added since:
  // the first index holding `name` in any letter case, or -1.
  int32_t Find(std::string_view name) const;
  bool Contains(std::string_view name) const { return Find(name) >= 0; }
  // Records `name` at `index` unless a name equal to it ignoring case is already held;
  // true when it was new. Call it for each entry appended to the indexed list.
  bool Add(std::string_view name, int32_t index);
  size_t Size() const { return first_.size(); }

 private:
  std::unordered_map<std::string, int32_t> first_;  // folded name -> first index
};
