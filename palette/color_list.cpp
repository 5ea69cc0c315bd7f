#include "palette/color_list.h"

#include <atomic>
#include <utility>

#include "base/latin1.h"
#include "palette/palette_errors.h"

void TColorList::Check(int32_t index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds");
}

const std::string& TColorList::Strings(int32_t index) const {
  Check(index);
  return entries_[size_t(index)].name;
}

void TColorList::PutString(int32_t index, std::string name) {
  Check(index);
  entries_[size_t(index)].name = std::move(name);
}

TColor TColorList::GetClr(int32_t index) const {
  if (index >= Count()) throw EInvalidIndex("Invalid color index !");
  Check(index);
  return entries_[size_t(index)].color;
}

void TColorList::Changed() {
  static std::atomic<uint64_t> last{0};
  revision_ = last.fetch_add(1, std::memory_order_relaxed) + 1;
}

void TColorList::PutClr(int32_t index, TColor color) {
  if (index >= Count()) throw EInvalidIndex("Invalid color index !");
  Check(index);
  entries_[size_t(index)].color = color;
  Changed();
}

void TColorList::AddClr(std::string name, TColor color) {
  entries_.push_back({std::move(name), color});
  Changed();
}

void TColorList::Delete(int32_t index) {
  Check(index);
  entries_.erase(entries_.begin() + index);
  Changed();
}

void TColorList::Exchange(int32_t a, int32_t b) {
  Check(a);
  Check(b);
  std::swap(entries_[size_t(a)], entries_[size_t(b)]);
  Changed();
}

void TColorList::Reorder(const std::vector<int32_t>& order) {
  // Checked whole before anything moves, so a wrong order changes nothing.
  std::vector<bool> taken(entries_.size());
  if (order.size() != entries_.size()) throw EListError("List index out of bounds");
  for (const int32_t index : order) {
    Check(index);
    if (taken[size_t(index)]) throw EListError("List index out of bounds");
    taken[size_t(index)] = true;
  }
  std::vector<ColorEntry> moved;
  moved.reserve(entries_.size());
  for (const int32_t index : order) moved.push_back(std::move(entries_[size_t(index)]));
  entries_ = std::move(moved);
  Changed();
}

void TColorList::Clear() {
  entries_.clear();
  Changed();
}

void TColorList::Assign(const TColorList& source) {
  if (&source == this) return;
  entries_ = source.entries_;
  Changed();
}

int32_t TColorList::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (SameText(entries_[i].name, name)) return int32_t(i);
  return -1;
}
