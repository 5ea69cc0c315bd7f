#pragma once
// What a document is doing: one value per document window. Every "is something running"
// question is a view of it; "Turn BUSY flag off" is an explicit override inside it, so the
// user may reach commands again while the window still knows that work runs.

#include <cstdint>

enum class DocWork : uint8_t {
  Idle,
  Importing,        // a picture is read beside the windows
  UpdatingPicture,  // the picture is remapped and its screen image made
  Searching,        // the automatic color search runs on a copy
  Rotating,         // a transpose or a quarter turn
  Resizing,         // the picture is resampled to a new size in stitches
  Reporting,        // a report is computed and shown
  Designing,        // a step of the design window draws its chart
  Printing,
};

class DocumentState {
 public:
  DocWork Work() const { return work_; }
  // Work runs on the composition: it may not be closed or handed to other work.
  bool Working() const { return work_ != DocWork::Idle; }
  // Commands that need the document idle are barred.
  bool Busy() const { return Working() && !busy_flag_off_; }
  bool Searching() const { return work_ == DocWork::Searching; }
  bool UpdatingPicture() const { return work_ == DocWork::UpdatingPicture; }
  bool BusyFlagOff() const { return busy_flag_off_; }

  // A new work, or Idle; the override holds only for the work it was given for.
  void SetWork(DocWork work) {
    work_ = work;
    busy_flag_off_ = false;
  }
  void TurnBusyFlagOff() { busy_flag_off_ = Working(); }

  bool operator==(const DocumentState&) const = default;

 private:
  DocWork work_ = DocWork::Idle;
  bool busy_flag_off_ = false;
};
