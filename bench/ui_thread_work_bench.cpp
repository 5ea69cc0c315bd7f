// The colour table's work on the interface's own thread: S&imilar on the 454 floss (one report
// per pair, 102,831 of them) and &Used on a 12-megapixel photograph (one report per row), each
// run bare and with the progress binding the dialog uses (throttled status line, events let
// run). The binding may cost at most 10%; a 1 ms timer measures the longest gap between two
// handled events during the bound runs, which bounds how late a "S&top" click is seen.
// Run with QT_QPA_PLATFORM=offscreen (set when unset).

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "app/ui/main_form.h"
#include "app/ui/ui_progress.h"
#include "bench/offscreen_session.h"
#include "bench/photograph_picture.h"
#include "composition/composition.h"

namespace {

constexpr double kMostCost = 0.10;
constexpr double kMostGapMs = 100;
constexpr int kRounds = 3;

struct Run {
  double bare_ms = 1e300, bound_ms = 1e300, longest_gap_ms = 0;
  long reports = 0, shown = 0;
};

// The fastest of a few rounds of `work` without progress and with the binding.
Run Measure(TMainForm& frame, TpunCompo& compo, const std::function<void()>& reset,
            const std::function<void()>& work) {
  Run run;
  QElapsedTimer clock;
  for (int round = 0; round < kRounds; ++round) {
    reset();
    compo.SetOnProgress(nullptr);
    clock.start();
    work();
    run.bare_ms = std::min(run.bare_ms, clock.nsecsElapsed() / 1e6);

    reset();
    long reports = 0, shown = 0;
    ProgressHandler bound = UiThreadProgress([&](const std::string& text, uint16_t percent) {
      ++shown;
      frame.ShowMainProgress(text, percent);
    });
    compo.SetOnProgress([&](const std::string& text, uint16_t percent) {
      ++reports;
      bound(text, percent);
    });
    qint64 last_tick = 0, longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      longest = std::max(longest, now - last_tick);
      last_tick = now;
    });
    ticker.start();
    clock.start();
    work();
    const qint64 end = clock.nsecsElapsed();
    ticker.stop();
    longest = std::max(longest, end - last_tick);
    run.bound_ms = std::min(run.bound_ms, end / 1e6);
    run.longest_gap_ms = std::max(run.longest_gap_ms, longest / 1e6);
    run.reports = reports;
    run.shown = shown;
    compo.SetOnProgress(nullptr);
  }
  return run;
}

bool Print(const char* what, const Run& run) {
  const double cost = run.bound_ms / run.bare_ms - 1;
  const bool met = cost < kMostCost && run.longest_gap_ms <= kMostGapMs;
  std::printf("%-26s bare %8.1f ms  bound %8.1f ms  cost %+6.1f%% = %+.1f ms (target < %.0f%%)\n",
              what, run.bare_ms, run.bound_ms, cost * 100, run.bound_ms - run.bare_ms,
              kMostCost * 100);
  std::printf(
      "%-26s %ld reports, %ld shown, longest gap between events %.1f ms (target <= "
      "%.0f ms): %s\n",
      "", run.reports, run.shown, run.longest_gap_ms, kMostGapMs, met ? "met" : "MISSED");
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  const OffscreenSession session;
  if (!session.Valid()) return 1;
  QApplication app(argc, argv);
  TMainForm frame;
  frame.show();
  QCoreApplication::processEvents();

  TpunPal floss;
  floss.LoadFromFile(PUNTEL_RUNTIME_DIR "/dmc25.clr");
  TpunCompo compo;
  // 4000 by 3000 as a square: 3464 rows of 3464 pixels, the full floss as its palette.
  GivePhotographPattern(compo, floss, 3464, floss.Count(), 7);
  TpunPal full;
  full.Assign(compo.Palette());
  auto reset = [&] { compo.Palette().Assign(full); };

  const Run similar =
      Measure(frame, compo, reset, [&] { compo.RemoveSimilarColors(uint16_t(12)); });
  const Run used = Measure(frame, compo, reset, [&] { compo.SearchUsedColors(); });
  // The same on a palette of every blend of the floss, as "&Tweed" or Mix make it.
  TpunPal blends;
  blends.Assign(full);
  blends.MixColors();
  auto reset_blends = [&] { compo.Palette().Assign(blends); };
  const Run similar_blends =
      Measure(frame, compo, reset_blends, [&] { compo.RemoveSimilarColors(uint16_t(12)); });
  const Run used_blends = Measure(frame, compo, reset_blends, [&] { compo.SearchUsedColors(); });
  std::printf("ui_thread_work: %d floss (%d with their blends), %ux%u picture\n", full.Count(),
              blends.Count(), unsigned(compo.Width()), unsigned(compo.Height()));
  const bool met = Print("S&imilar (tolerance 12)", similar) & Print("&Used", used) &
                   Print("S&imilar, blends", similar_blends) & Print("&Used, blends", used_blends);
  return met ? 0 : 1;
}
