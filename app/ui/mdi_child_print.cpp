// File "P&rint": the pattern on paper or in a PDF file. The pattern is copied once on the
// UI thread; its pages are made on the document's worker, the dialog showing their
// progress meanwhile.
#include <QPrinter>
#include <algorithm>
#include <memory>

#include "app/app_settings.h"
#include "app/ui/file_names.h"
#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/print_dlg.h"
#include "app/ui/ui_seams.h"
#include "app/ui/wait_cursor.h"
#include "composition/ui/document_jobs.h"
#include "pattern/draw/print_pages.h"
#include "pattern/draw/printed_pattern.h"

namespace {

// The choices for the paper the printer's dialog left, which wins over the one asked for.
PrintChoices ForPrinterPaper(PrintChoices choices, const QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const QRectF full = layout.fullRect(QPageLayout::Millimeter);
  choices.plan.paper = {std::min(full.width(), full.height()),
                        std::max(full.width(), full.height())};
  choices.plan.landscape = layout.orientation() == QPageLayout::Landscape;
  return choices;
}

PageSpan ChosenPages(const QPrinter& printer) {
  if (printer.printRange() != QPrinter::PageRange) return {};
  return {printer.fromPage(), printer.toPage()};
}

}  // namespace

void TMDIChild::Print1Click() {
  if (!PictureIdle()) return;
  // The snapshot refuses a table with too few symbols ("Too many colors !") before any
  // dialog is shown; the guard around every command shows it.
  std::shared_ptr<const PrintedPattern> pattern;
  {
    const WaitCursor hourglass;
    std::vector<std::string> threads;
    Composition->Palette().ListThreads(threads);
    pattern = std::make_shared<const PrintedPattern>(SnapshotPattern(
        *Composition, frame_->SymbolTable, threads, FlossBrands::Load(Settings().progpath),
        BrandRequest{}, PatternTitle(Caption().toStdString()), {}));
  }
  TPrintDlg* shown = nullptr;
  TPrintDlg dialog(
      *pattern,
      {[&](const PrintChoices& choices) { return PrintPattern(pattern, choices, shown); },
       [&](const PrintChoices& choices) { return SavePatternPdf(pattern, choices, shown); },
       [this] { jobs_->Cancel(); }},
      this);
  shown = &dialog;
  connect(jobs_.get(), &DocumentJobs::ProgressShown, &dialog, &TPrintDlg::ShowProgress);
  // Done, cancelled or failed (its message shown), the job's end leaves the document idle.
  connect(this, &TMDIChild::stateChanged, &dialog, [this, &dialog] {
    if (!Working()) dialog.Finished();
  });
  RunModal(dialog);
}

bool TMDIChild::PrintPattern(const std::shared_ptr<const PrintedPattern>& pattern,
                             const PrintChoices& choices, QWidget* parent) {
  const PatternPrintout asked(*pattern, choices);
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(QString::fromStdString(pattern->title));
  printer->setPageLayout(PrintedPageLayout(asked.Plan()));
  // The pages keep their own margins: the painting starts at the paper's corner.
  printer->setFullPage(true);
  if (!AskPrinter(parent, *printer, asked.PageCount())) return false;
  const PrintChoices chosen = ForPrinterPaper(choices, *printer);
  const PageSpan span = ChosenPages(*printer);
  return RunPrintJob(
      [pattern, printer, chosen, span](const ProgressHandler& progress, const CancelToken& cancel) {
        const PatternPrintout printout(*pattern, chosen);
        // Printed to a file: written whole or not at all, as "Save PDF..." writes.
        const QString file = printer->outputFileName();
        if (printer->outputFormat() == QPrinter::PdfFormat && !file.isEmpty())
          return WritePdfFile(LocalPath(file), printout, progress, cancel, {}, span);
        return PrintPages(*printer, printout, span, progress, cancel, {},
                          [&printer] { printer->abort(); });
      });
}

bool TMDIChild::SavePatternPdf(const std::shared_ptr<const PrintedPattern>& pattern,
                               const PrintChoices& choices, QWidget* parent) {
  const QString path = FileDialogs().Save(
      parent, {"Save pattern as PDF", ShownPath(Settings().Compopath), "PDF files (*.pdf)|*.pdf",
               WithExtension(Caption(), ".pdf"), "pdf"});
  if (path.isEmpty() || IsCompositionFile(path)) return false;
  const std::string target = LocalPath(path);
  return RunPrintJob(
      [pattern, choices, target](const ProgressHandler& progress, const CancelToken& cancel) {
        return WritePdfFile(target, PatternPrintout(*pattern, choices), progress, cancel);
      });
}

bool TMDIChild::RunPrintJob(std::function<bool(const ProgressHandler&, const CancelToken&)> paint) {
  RunJob(DocWork::Printing, [paint = std::move(paint)] {
    WorkerJob job;
    // What the pages need is owned by `paint`, so it outlives the dialog.
    job.body = [paint](const ProgressHandler& progress, const CancelToken& cancel) {
      return std::any(paint(progress, cancel));
    };
    return job;
  });
  // A job that could not even be made has ended already.
  return Working();
}
