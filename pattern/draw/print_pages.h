#pragma once
// Sends a printout's pages to a paged device, one page at a time (no raster of the whole
// chart), and writes a PDF file atomically. Runs on any thread.

#include <QPageLayout>
#include <QPageSize>
#include <cstdint>
#include <functional>
#include <string>

#include "base/progress.h"
#include "composition/ui/worker_job.h"
#include "pattern/draw/pattern_printout.h"

class QPagedPaintDevice;

// The pages first .. last (1-based, inclusive; 0 for both: all).
struct PageSpan {
  int32_t first = 0, last = 0;
};

// Called before each page is painted: its number and the count of pages sent.
using PageReport = std::function<void(int32_t page, int32_t of)>;

// The page layout of the plan's paper without printer margins (the pages keep their own).
QPageLayout PrintedPageLayout(const PagePlan& plan);

// Paints the pages of `span` on `device`, whose page layout is already set, reporting
// "Printing page n of N..." to `progress` and each page to `report`. Stops between pages
// when `cancel` is set, calling `abort` while the device is still open (a printer drops
// the pages sent so far: QPrinter::abort), and returns false then. Raises EInOutError when
// the device cannot be painted on (a printer that fails to start).
bool PrintPages(QPagedPaintDevice& device, const PatternPrintout& printout, PageSpan span,
                const ProgressHandler& progress, const CancelToken& cancel,
                const PageReport& report = {}, const std::function<void()>& abort = {});

// The pages of `span` (all unless given) as a PDF file at `path` on the plan's paper:
// written beside it and renamed over it once complete, so a failure or a
// cancel leaves an existing file intact and no partial one. Returns false when cancelled.
// Raises EInOutError ("Cannot create file <path>", or the error met).
bool WritePdfFile(const std::string& path, const PatternPrintout& printout,
                  const ProgressHandler& progress, const CancelToken& cancel,
                  const PageReport& report = {}, PageSpan span = {});
