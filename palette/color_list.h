#pragma once
// An ordered list of floss entries: a name and a color each, duplicates allowed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/color.h"

struct ColorEntry {
  std::string name;
  TColor color = 0;
  bool operator==(const ColorEntry&) const = default;
};

class TColorList {
 public:
  int32_t Count() const { return int32_t(entries_.size()); }
  const std::vector<ColorEntry>& Entries() const { return entries_; }

  // Names. Every index is checked against the list ("List index out of bounds").
  const std::string& Strings(int32_t index) const;
  void PutString(int32_t index, std::string name);

  // Colors. An index not below the count raises EInvalidIndex "Invalid color index !".
  TColor GetClr(int32_t index) const;
  void PutClr(int32_t index, TColor color);
  void AddClr(std::string name, TColor color);

  void Delete(int32_t index);
  void Exchange(int32_t a, int32_t b);
  // Entry k becomes the entry that was at order[k]; `order` is a permutation of the indices.
  void Reorder(const std::vector<int32_t>& order);
  void Clear();
  void Assign(const TColorList& source);
  void Reserve(size_t count) { entries_.reserve(count); }

  // First entry whose name equals `name` ignoring letter case, or -1.
  int32_t IndexOfName(std::string_view name) const;

  // Changes whenever a color changes or entries move, so derived search structures
  // know when they are stale. Drawn from one counter for every list, so that no two states
  // of any lists share a revision, even when a list is copied over another.
  uint64_t Revision() const { return revision_; }

 private:
  void Check(int32_t index) const;
  void Changed();

  std::vector<ColorEntry> entries_;
  uint64_t revision_ = 0;
};
