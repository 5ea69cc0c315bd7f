#pragma once
// The editor's undo history: a QUndoStack whose steps keep only the old cells of the
// rectangle they changed (a resize, the whole old design) and redo by painting again. The
// steps hold at most a cap of undo data; past it the oldest go first. The stack's clean
// state is the saved design.

#include <QObject>
#include <QUndoStack>
#include <cstddef>
#include <functional>
#include <memory>

#include "design/cell_patch.h"
#include "design/raster_snapshot.h"

// One step, already applied when it is recorded.
class DesignStep {
 public:
  virtual ~DesignStep() = default;
  virtual std::size_t Bytes() const = 0;
  // Each returns the cells it changed.
  virtual CellRect Undo(DesignRaster& raster) const = 0;
  virtual CellRect Redo(DesignRaster& raster) const = 0;
};

// A drawing rule and the old cells of the rectangle it may change.
class PaintStep : public DesignStep {
 public:
  using Rule = std::function<CellRect(DesignRaster&)>;
  PaintStep(Rule rule, CellPatch before) : rule_(std::move(rule)), before_(std::move(before)) {}
  std::size_t Bytes() const override { return before_.Bytes(); }
  CellRect Undo(DesignRaster& raster) const override { return before_.Restore(raster); }
  CellRect Redo(DesignRaster& raster) const override { return rule_(raster); }

 private:
  Rule rule_;
  CellPatch before_;
};

// A new size: the design erased to white, the old one kept whole.
class ResizeStep : public DesignStep {
 public:
  ResizeStep(const DesignRaster& before, int width, int height)
      : before_(before), width_(width), height_(height) {}
  std::size_t Bytes() const override { return before_.Bytes(); }
  CellRect Undo(DesignRaster& raster) const override { return before_.Restore(raster); }
  CellRect Redo(DesignRaster& raster) const override {
    raster.Resize(width_, height_);
    return raster.Bounds();
  }

 private:
  RasterSnapshot before_;
  int width_, height_;
};

class DesignHistory : public QObject {
  Q_OBJECT

 public:
  static constexpr std::size_t kDefaultCap = std::size_t(256) << 20;

  // `changed` hears of every undo and redo with the cells it changed.
  DesignHistory(DesignRaster& raster, std::function<void(const CellRect&)> changed,
                QObject* parent);

  QUndoStack& Stack() { return stack_; }
  // Takes a step that has been applied to the design.
  void Record(std::shared_ptr<const DesignStep> step, const QString& text);
  // A new history whose start is the saved state (a loaded design).
  void Restart() { stack_.clear(); }
  void MarkSaved() { stack_.setClean(); }
  bool Modified() const { return !stack_.isClean(); }

  void SetCap(std::size_t bytes);
  std::size_t Bytes() const;

 private:
  class Command;
  void Trim();
  void Apply(const CellRect& changed) { changed_(changed); }

  DesignRaster& raster_;
  std::function<void(const CellRect&)> changed_;
  QUndoStack stack_;
  std::size_t cap_ = kDefaultCap;
};
