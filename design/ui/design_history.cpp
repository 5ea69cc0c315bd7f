#include "design/ui/design_history.h"

#include <vector>

class DesignHistory::Command : public QUndoCommand {
 public:
  Command(std::shared_ptr<const DesignStep> step, DesignHistory* history, const QString& text)
      : QUndoCommand(text), step_(std::move(step)), history_(history) {}

  void undo() override { history_->Apply(step_->Undo(history_->raster_)); }
  void redo() override {
    // The step was applied before it was recorded: the push runs nothing.
    if (applied_) {
      applied_ = false;
      return;
    }
    history_->Apply(step_->Redo(history_->raster_));
  }

  const std::shared_ptr<const DesignStep>& Step() const { return step_; }

 private:
  std::shared_ptr<const DesignStep> step_;
  DesignHistory* history_;
  bool applied_ = true;
};

DesignHistory::DesignHistory(DesignRaster& raster, std::function<void(const CellRect&)> changed,
                             QObject* parent)
    : QObject(parent), raster_(raster), changed_(std::move(changed)), stack_(this) {}

void DesignHistory::Record(std::shared_ptr<const DesignStep> step, const QString& text) {
  stack_.push(new Command(std::move(step), this, text));
  Trim();
}

void DesignHistory::SetCap(std::size_t bytes) {
  cap_ = bytes;
  Trim();
}

std::size_t DesignHistory::Bytes() const {
  std::size_t bytes = 0;
  for (int i = 0; i < stack_.count(); ++i)
    bytes += static_cast<const Command*>(stack_.command(i))->Step()->Bytes();
  return bytes;
}

void DesignHistory::Trim() {
  // Only at the top of the stack (right after a step), where every step is applied.
  const int count = stack_.count();
  if (stack_.index() != count || count <= 1 || Bytes() <= cap_) return;
  // QUndoStack drops steps only by count, so the stack is laid again without the oldest
  // ones; the steps keep their data (shared) and nothing is painted again.
  const int clean = stack_.cleanIndex();
  std::vector<std::pair<std::shared_ptr<const DesignStep>, QString>> steps;
  for (int i = 0; i < count; ++i) {
    const auto* command = static_cast<const Command*>(stack_.command(i));
    steps.emplace_back(command->Step(), command->text());
  }
  std::size_t kept = 0;
  int first = count;
  while (first > 0 && (first == count || kept + steps[first - 1].first->Bytes() <= cap_))
    kept += steps[--first].first->Bytes();
  stack_.clear();
  // A saved state among the dropped steps can no longer be reached.
  if (clean != first) stack_.resetClean();
  for (int i = first; i < count; ++i) {
    stack_.push(new Command(steps[i].first, this, steps[i].second));
    if (clean == i + 1) stack_.setClean();
  }
}
