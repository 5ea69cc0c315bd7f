// The color usage report's window with the 454 lines of dmc25.clr: the time from the end of
// the lines' computation until the window is shown with its list painted, against a plain
// QListWidget filled with the same texts and shown (the reference). Target: 100 ms.
// Run with QT_QPA_PLATFORM=offscreen (set when unset).

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/photograph_picture.h"
#include "composition/composition.h"
#include "pattern/report_lines.h"
#include "pattern/ui/report_frm.h"

namespace {

constexpr uint16_t kWidth = 400, kHeight = 400;
constexpr double kTargetMs = 100;
constexpr int kRuns = 7;

// Counts the paints of a widget's viewport.
class PaintCount : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Milliseconds from the call until `list` has shown and painted its lines.
double ShowAndPaint(QWidget& window, QAbstractScrollArea& list, QElapsedTimer& clock) {
  PaintCount count;
  list.viewport()->installEventFilter(&count);
  window.show();
  while (count.paints == 0) QCoreApplication::processEvents();
  const double ms = double(clock.nsecsElapsed()) / 1e6;
  list.viewport()->removeEventFilter(&count);
  return ms;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Window(TpunCompo& compo, const std::vector<UsageLine>& lines) {
  QElapsedTimer clock;
  clock.start();
  Treportfrm report(compo.Palette());
  report.setWindowTitle("Color usage report");
  report.ReportKind = Treportfrm::kColorUsageReport;
  report.Panel1->show();
  report.AddUsageLines(lines);
  return ShowAndPaint(report, *report.ListBox1, clock);
}

double Reference(const std::vector<UsageLine>& lines) {
  QElapsedTimer clock;
  clock.start();
  QListWidget list;
  for (const UsageLine& line : lines) list.addItem(QString::fromLatin1(line.text.c_str()));
  return ShowAndPaint(list, list, clock);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TpunPal floss;
  floss.LoadFromFile(PUNTEL_RUNTIME_DIR "/dmc25.clr");
  TpunCompo compo(&floss);
  compo.SetPicture(TPicture(kWidth, kHeight, MakePhotographPicture(kWidth, kHeight, 7)));

  QElapsedTimer clock;
  clock.start();
  const std::vector<UsageLine> lines = ColorUsageReport(compo, compo.Palette(), nullptr);
  const double computed = double(clock.nsecsElapsed()) / 1e6;
  std::printf("color usage report of %ux%u on %d floss: %zu lines computed in %.1f ms\n", kWidth,
              kHeight, floss.Count(), lines.size(), computed);

  // The first of each is apart: it loads fonts and styles once for the program's life.
  const double first_window = Window(compo, lines), first_reference = Reference(lines);
  std::vector<double> windows, references;
  for (int run = 0; run < kRuns; ++run) {
    windows.push_back(Window(compo, lines));
    references.push_back(Reference(lines));
  }
  const double window = Median(windows), reference = Median(references);
  std::printf("first open: window %.1f ms, plain list %.1f ms\n", first_window, first_reference);
  std::printf("open (median of %d): window %.1f ms, plain list %.1f ms, ratio %.2f\n", kRuns,
              window, reference, window / reference);
  const double worst = std::max(first_window, window);
  std::printf("target %.0f ms: %s\n", kTargetMs, worst <= kTargetMs ? "met" : "MISSED");
  return worst <= kTargetMs ? 0 : 1;
}
