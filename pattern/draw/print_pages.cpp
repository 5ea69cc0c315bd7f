#include "pattern/draw/print_pages.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "base/atomic_file.h"
#include "base/exceptions.h"

QPageLayout PrintedPageLayout(const PagePlan& plan) {
  const Paper paper = plan.Options().paper;
  const QPageSize size(QSizeF(paper.width_mm, paper.height_mm), QPageSize::Millimeter, QString(),
                       QPageSize::ExactMatch);
  return QPageLayout(size,
                     plan.Options().landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool PrintPages(QPagedPaintDevice& device, const PatternPrintout& printout, PageSpan span,
                const ProgressHandler& progress, const CancelToken& cancel,
                const PageReport& report, const std::function<void()>& abort) {
  const int32_t count = printout.PageCount();
  const int32_t first = span.first <= 0 ? 1 : std::min(span.first, count);
  const int32_t last = span.last <= 0 ? count : std::clamp(span.last, first, count);
  QPainter painter;
  if (!painter.begin(&device)) throw EInOutError("The printer could not be started");
  const double dots_per_mm = device.logicalDpiX() / 25.4;
  const int32_t sent = last - first + 1;
  for (int32_t page = first; page <= last; ++page) {
    if (cancel) {
      if (abort) abort();
      painter.end();
      return false;
    }
    const int32_t n = page - first + 1;
    if (progress)
      progress("Printing page " + std::to_string(n) + " of " + std::to_string(sent) + "...",
               uint16_t((n - 1) * 100 / sent));
    if (report) report(page, sent);
    if (page != first) device.newPage();
    printout.Paint(painter, page - 1, dots_per_mm);
  }
  painter.end();
  if (progress) progress("", 0);
  return true;
}

bool WritePdfFile(const std::string& path, const PatternPrintout& printout,
                  const ProgressHandler& progress, const CancelToken& cancel,
                  const PageReport& report, PageSpan span) {
  // The place is claimed first, so that a folder one may not write to fails at once.
  ReplacementFile file(path);
  if (!file.Created()) throw EInOutError("Cannot create file " + path);
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&bytes);
    writer.setTitle(QString::fromStdString(printout.Pattern().title));
    writer.setCreator("PunTel 2.0a");
    writer.setResolution(600);
    writer.setPageLayout(PrintedPageLayout(printout.Plan()));
    if (!PrintPages(writer, printout, span, progress, cancel, report)) return false;
  }
  file.Write(bytes.data().constData(), size_t(bytes.size()));
  file.Commit();
  return true;
}
