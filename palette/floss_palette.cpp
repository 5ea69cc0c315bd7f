#include "palette/floss_palette.h"

#include <unordered_set>

#include "palette/max_tree.h"
#include "palette/name_index.h"
#include "palette/nearest_color_index.h"
#include "palette/palette_errors.h"
#include "palette/palette_file.h"

namespace {

int32_t Brightness(TColor c) {
  return RedOf(c) + GreenOf(c) + BlueOf(c);
}

}  // namespace

bool SplitBlend(const std::string& name, std::string& first, std::string& second) {
  auto plus = name.find('+');
  if (plus == std::string::npos) return false;
  first = name.substr(0, plus);
  second = name.substr(plus + 1);
  return true;
}

std::string PercentText(uint16_t percent, const std::string& text) {
  return "(" + std::to_string(percent) + "%)" + text;
}

TpunPal::TpunPal() = default;
TpunPal::~TpunPal() = default;

void TpunPal::Report(const std::string& text, uint16_t percent) const {
  if (OnProgress) OnProgress(text, percent);
}

void TpunPal::ReportStep(uint16_t percent, const std::function<std::string()>& suffix) const {
  // Long loops report every step; the text is only made for someone listening.
  if (OnProgress) OnProgress(PercentText(percent, suffix()), percent);
}

TColor TpunPal::GetClr(int32_t index) const {
  if (index >= Count()) throw EInvalidColorIndex("(TpunPal.GetClr) : Invalid Color index !");
  return Colors.GetClr(index);
}

void TpunPal::PutClr(int32_t index, TColor color) {
  if (index >= Count()) throw EInvalidColorIndex("(TpunPal.PutClr) : Invalid Color index !");
  Colors.PutClr(index, color);
}

std::string TpunPal::GetName(int32_t index) const {
  if (index >= Count())
    throw EInvalidColorNameIndex("(TpunPal.GetName) : Invalid Color Name index !");
  return Colors.Strings(index);
}

void TpunPal::AddClr(TColor color, const std::string& name) {
  Colors.AddClr(name, color);
  Modified = true;
}

void TpunPal::Delete(int32_t index) {
  if (index >= Count()) throw EInvalidColorIndex("(TpunPal.Delete) : Invalid Color index !");
  Colors.Delete(index);
  Modified = true;
}

void TpunPal::Clear() {
  Colors.Clear();
}

void TpunPal::Assign(const TpunPal& source) {
  Colors.Assign(source.Colors);
  Modified = true;
}

bool TpunPal::IndexOfName(const std::string& name, int32_t& index) const {
  index = Colors.IndexOfName(name);
  return index >= 0;
}

void TpunPal::SetNearestSearch(NearestSearchMaker maker) {
  const std::lock_guard lock(nearest_mutex_);
  make_search_ = std::move(maker);
  nearest_.reset();
}

void TpunPal::SetColorMatch(ColorMatch rule) {
  if (rule == match_) return;
  match_ = rule;
  // ExactRgb goes back to the default search, exactly as before any rule was chosen.
  SetNearestSearch(rule == ColorMatch::ExactRgb ? nullptr : NearestSearchFor(rule));
}

const NearestColorSearch& TpunPal::NearestIndex() const {
  const std::lock_guard lock(nearest_mutex_);
  if (!nearest_ || nearest_revision_ != Colors.Revision()) {
    std::vector<TColor> colors;
    colors.reserve(size_t(Count()));
    for (const auto& entry : Colors.Entries()) colors.push_back(entry.color);
    nearest_ =
        make_search_ ? make_search_(std::move(colors)) : NearestColorIndex::Make(std::move(colors));
    nearest_revision_ = Colors.Revision();
  }
  return *nearest_;
}

int32_t TpunPal::NearestClr(TColor color) const {
  return NearestIndex().Find(color);
}

void TpunPal::NearestClrs(const TColor* colors, size_t count, int32_t* indices) const {
  NearestIndex().FindMany(colors, count, indices);
}

void TpunPal::Sort() {
  // The exchange sort moves entry i along the chain of later entries that each beat the
  // running key; the tree finds each link of that chain directly, so large palettes
  // sort fast and the result is the same permutation, unstable ties included. The chains
  // run on entry numbers; the entries move once, at the end or when a report raises.
  const int32_t n = Count();
  std::vector<int32_t> sums(static_cast<size_t>(n));
  std::vector<int32_t> order(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    sums[size_t(i)] = Brightness(Colors.GetClr(i));
    order[size_t(i)] = i;
  }
  MaxTree tree(sums);
  try {
    for (int32_t i = 0; i < n; ++i) {
      int32_t key = sums[size_t(i)];
      for (int64_t j = tree.FirstAbove(size_t(i) + 1, key); j >= 0;
           j = tree.FirstAbove(size_t(j) + 1, key)) {
        std::swap(order[size_t(i)], order[size_t(j)]);
        std::swap(sums[size_t(i)], sums[size_t(j)]);
        tree.Set(size_t(j), sums[size_t(j)]);
        key = sums[size_t(i)];
      }
      tree.Set(size_t(i), sums[size_t(i)]);
      ReportStep(StepPercent(i, n), [] { return std::string(" Sorting colors"); });
    }
  } catch (...) {
    Colors.Reorder(order);  // half done, as the exchanges left it
    throw;
  }
  Colors.Reorder(order);
  Report("", 0);
}

void TpunPal::MixColors() {
  // Refused before any work: the blends of a large palette would not fit in memory.
  int64_t plain = 0;
  for (const auto& entry : Colors.Entries()) plain += entry.name.find('+') == std::string::npos;
  const int64_t entries = Count() + plain * (plain - 1) / 2;
  if (entries > kMostMixedEntries)
    throw ETooManyColors("Too many colors to mix: " + std::to_string(plain) + " floss would give " +
                         std::to_string(entries) + " entries (at most " +
                         std::to_string(kMostMixedEntries) + ").");
  TpunPal work;
  work.Assign(*this);
  work.Colors.Reserve(size_t(entries));
  FoldedNameIndex names(work.Colors);  // work's IndexOfName, one lookup per blend
  const int32_t n = Count();
  for (int32_t i = 0; i < n; ++i) {
    const ColorEntry& a = Colors.Entries()[size_t(i)];
    if (a.name.find('+') != std::string::npos) continue;
    for (int32_t j = i + 1; j < n; ++j) {
      const ColorEntry& b = Colors.Entries()[size_t(j)];
      if (b.name.find('+') != std::string::npos) continue;
      std::string name = a.name + "+" + b.name;
      if (!names.Add(name, work.Count())) continue;
      TColor blend = MakeColor(uint8_t((RedOf(a.color) + RedOf(b.color)) / 2),
                               uint8_t((GreenOf(a.color) + GreenOf(b.color)) / 2),
                               uint8_t((BlueOf(a.color) + BlueOf(b.color)) / 2));
      work.AddClr(blend, name);
    }
    ReportStep(StepPercent(i, n),
               [&] { return " Mixing Colors (" + std::to_string(work.Count()) + ") Colors"; });
  }
  Assign(work);
  Report("", 0);
}

int32_t TpunPal::ListThreads(std::vector<std::string>& target) {
  std::unordered_set<std::string> seen(target.begin(), target.end());
  auto add = [&](const std::string& thread) {
    if (seen.insert(thread).second) target.push_back(thread);
  };
  const int32_t n = Count();
  std::string first, second;
  for (int32_t i = 0; i < n; ++i) {
    const std::string& name = Colors.Strings(i);
    if (SplitBlend(name, first, second)) {
      add(first);
      add(second);
    } else {
      add(name);
    }
    uint16_t percent = StepPercent(i, n);
    ReportStep(percent, [] { return std::string("  Counting thread"); });
  }
  Report("", 0);
  return int32_t(target.size());
}

uint16_t TpunPal::ThreadCount() {
  if (Modified && Count() > 0) {
    std::vector<std::string> threads;
    CachedThreadCount = uint16_t(ListThreads(threads));
    Modified = false;
  }
  return CachedThreadCount;
}

void TpunPal::SetThreadCount(uint16_t count) {
  CachedThreadCount = count;
  Modified = false;
}

void TpunPal::LoadFromFile(const std::string& file_name) {
  LoadPaletteFile(*this, file_name);
}

void TpunPal::SaveToFile(const std::string& file_name) const {
  SavePaletteFile(*this, file_name);
}
