// "&Floss report" and "&Color usage report": the report window around the model's lines.
#include <string>
#include <vector>

#include "app/help/help_ids.h"
#include "app/ui/help_topic.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "composition/ui/document_jobs.h"
#include "pattern/report_lines.h"
#include "pattern/ui/report_frm.h"

namespace {

// A report holds the document from its computation to its window's closing; on every way
// out the status line is cleared and the document is idle again.
class ReportingWork {
 public:
  explicit ReportingWork(TMDIChild& document) : document_(document) {
    document_.SetWork(DocWork::Reporting);
  }
  ~ReportingWork() {
    document_.Frame()->ShowMainProgress("", 0);
    document_.SetWork(DocWork::Idle);
  }
  ReportingWork(const ReportingWork&) = delete;
  ReportingWork& operator=(const ReportingWork&) = delete;

 private:
  TMDIChild& document_;
};

}  // namespace

void TMDIChild::Flossreport1Click() {
  if (!PictureIdle()) return;
  const ReportingWork reporting(*this);
  Treportfrm report(Composition->Palette(), this);
  report.setWindowTitle("Floss report");
  report.ReportKind = Treportfrm::kFlossReport;
  {
    const WaitCursor hourglass;
    frame_->ShowMainProgress("Counting threads...", 0);
    std::vector<std::string> threads;
    Composition->Palette().ListThreads(threads);
    frame_->ShowMainProgress("Calculating thread lengths...", 0);
    report.AddLines(FlossReportLines(*Composition, threads, frame_->UiThreadMainProgress()));
    // A cotton size the file allows but no fabric has: its lines carry no length.
    if (ThreadLengthFactor(Composition->CottonSize()) == 0) report.ShowUnknownFabric();
    frame_->ShowMainProgress("", 0);
  }
  SetDocumentCursor(Qt::ArrowCursor);
  RunModal(report);
}

void TMDIChild::Colorusagereport1Click() {
  if (!PictureIdle()) return;
  bool removed = false;
  PaletteUndo::Snapshot before = PaletteUndo::Take(*Composition);
  {
    const ReportingWork reporting(*this);
    Treportfrm report(Composition->Palette(), this);
    report.setWindowTitle("Color usage report");
    report.ReportKind = Treportfrm::kColorUsageReport;
    SetHelpTopic(&report, help_ids::kColorUsageReport);
    report.Panel1->show();
    report.OnColorRemoved = [this](int32_t index) { Composition->ColorDeleted(index); };
    {
      const WaitCursor hourglass;
      frame_->ShowMainProgress("Calculating thread lengths...", 0);
      report.AddUsageLines(
          ColorUsageReport(*Composition, Composition->Palette(), frame_->UiThreadMainProgress()));
      frame_->ShowMainProgress("", 0);
    }
    SetDocumentCursor(Qt::ArrowCursor);
    RunModal(report);
    removed = report.ColorsRemoved;
  }
  // Idle first: the picture update is the document's next work. It maps the picture onto
  // the reduced palette once, however many colors went.
  if (!removed) return;
  RecordPaletteChange(std::move(before));
  frame_->ShowDocumentInfo(this);
  StartPictureUpdate(false);
  Composition->SetModified(true);
}
