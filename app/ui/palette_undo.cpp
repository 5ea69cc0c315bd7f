#include "app/ui/palette_undo.h"

#include "composition/composition.h"

PaletteUndo::Snapshot PaletteUndo::Take(const TpunCompo& work) {
  return {work.Palette().Colors.Entries(), work.TransparencyOn(), work.TransparentColor()};
}

size_t PaletteUndo::BytesOf(const Snapshot& snapshot) {
  size_t bytes = sizeof(Snapshot) + snapshot.entries.capacity() * sizeof(ColorEntry);
  for (const ColorEntry& entry : snapshot.entries)
    if (entry.name.capacity() > 15) bytes += entry.name.capacity();  // past the inline buffer
  return bytes;
}

void PaletteUndo::Restore(const Snapshot& snapshot, TpunCompo& work) {
  TpunPal& palette = work.Palette();
  palette.Clear();
  palette.Colors.Reserve(snapshot.entries.size());
  for (const ColorEntry& entry : snapshot.entries) palette.AddClr(entry.color, entry.name);
  work.SetTransparentColor(snapshot.transparent_color);
  work.SetTransparencyOn(snapshot.transparency_on);
  work.SetModified(true);
}

void PaletteUndo::Record(Snapshot before, const TpunCompo& work) {
  if (before == Take(work)) return;
  for (const Snapshot& step : redo_) bytes_ -= BytesOf(step);
  redo_.clear();
  bytes_ += BytesOf(before);
  undo_.push_back(std::move(before));
  Trim();
}

// The oldest steps go first; the newest one always stays.
void PaletteUndo::Trim() {
  while (undo_.size() > 1 && (undo_.size() > most_steps_ || bytes_ > kMostBytes)) {
    bytes_ -= BytesOf(undo_.front());
    undo_.pop_front();
  }
}

bool PaletteUndo::Undo(TpunCompo& work) {
  if (undo_.empty()) return false;
  Snapshot now = Take(work);
  bytes_ += BytesOf(now);
  redo_.push_back(std::move(now));
  bytes_ -= BytesOf(undo_.back());
  Restore(undo_.back(), work);
  undo_.pop_back();
  return true;
}

bool PaletteUndo::Redo(TpunCompo& work) {
  if (redo_.empty()) return false;
  Snapshot now = Take(work);
  bytes_ += BytesOf(now);
  undo_.push_back(std::move(now));
  bytes_ -= BytesOf(redo_.back());
  Restore(redo_.back(), work);
  redo_.pop_back();
  return true;
}
