#pragma once
// Undo and redo of the colour table's edits: snapshots of the working palette's entries
// and of its transparency, kept only for commands that changed something.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "palette/color_list.h"

class TpunCompo;

class PaletteUndo {
 public:
  static constexpr size_t kMostSteps = 100;
  static constexpr size_t kMostBytes = size_t(64) << 20;
  // At most `most_steps` undo steps are kept (and kMostBytes of snapshots).
  explicit PaletteUndo(size_t most_steps = kMostSteps) : most_steps_(most_steps) {}

  struct Snapshot {
    std::vector<ColorEntry> entries;
    bool transparency_on = false;
    int32_t transparent_color = 0;
    bool operator==(const Snapshot&) const = default;
  };
  static Snapshot Take(const TpunCompo& work);

  // `before` was taken ahead of a command: it becomes an undo step when `work` differs
  // from it now, and then the redo steps are dropped.
  void Record(Snapshot before, const TpunCompo& work);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Put `work` back one step, or forward again; false when there is none.
  bool Undo(TpunCompo& work);
  bool Redo(TpunCompo& work);

 private:
  static size_t BytesOf(const Snapshot& snapshot);
  static void Restore(const Snapshot& snapshot, TpunCompo& work);
  void Trim();

  std::deque<Snapshot> undo_, redo_;
  size_t most_steps_;
  size_t bytes_ = 0;  // of both stacks
};
