// The help window's first opening: the topics table read, the contents built and the first
// page laid out and painted, against a bare QTextBrowser showing the same page. Printed
// only; the aim is under 300 ms. Run with QT_QPA_PLATFORM=offscreen (set when unset).

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBrowser>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "app/help/help_ids.h"
#include "app/program_folders.h"
#include "app/ui/help_window.h"
#include "bench/offscreen_session.h"

int main(int argc, char** argv) {
  const OffscreenSession session;
  if (!session.Valid()) return 1;
  QApplication app(argc, argv);
  const std::string folder = ProgramDataFolder() + "help/";

  QElapsedTimer clock;
  clock.start();
  std::unique_ptr<HelpWindow> window(MakeHelpWindow(folder));
  if (!window) return 1;
  window->ShowTopic(help_ids::kContents);
  window->show();
  window->repaint();
  const double opened_ms = clock.nsecsElapsed() / 1e6;

  clock.restart();
  QTextBrowser bare;
  bare.setSearchPaths({QString::fromStdString(folder)});
  bare.setSource(QUrl::fromLocalFile(QString::fromStdString(folder + "index.html")));
  bare.resize(700, 640);
  bare.show();
  bare.repaint();
  const double bare_ms = clock.nsecsElapsed() / 1e6;

  clock.restart();
  window->ShowTopic(help_ids::kColorTable);
  window->repaint();
  const double next_ms = clock.nsecsElapsed() / 1e6;

  std::printf(
      "help window first opening %7.1f ms (aim < 300 ms: %s), bare page %6.1f ms, "
      "ratio %.1f\n",
      opened_ms, opened_ms < 300 ? "met" : "MISSED", bare_ms, opened_ms / bare_ms);
  std::printf("next topic (colour table page)  %7.1f ms\n", next_ms);
  return 0;
}
