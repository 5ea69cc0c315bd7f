// How alive the windows stay while a 12-megapixel photograph is imported, remapped on the
// picture-update worker and shown: a 1 ms timer on the UI thread measures the longest gap
// between two of its events, from the Import command until the mapped picture is shown.
// Run with QT_QPA_PLATFORM=offscreen (set when unset).

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/picture_view.h"
#include "app/ui/ui_seams.h"
#include "bench/offscreen_session.h"
#include "composition/composition.h"
#include "composition/ui/screen_bitmap.h"

namespace {

constexpr uint16_t kWidth = 4000, kHeight = 3000;
constexpr double kTargetGapMs = 20;

// Smooth shading with mild sensor noise, written as a 24-bit bitmap file.
void WritePhotograph(const std::string& path) {
  PictureBlock block(PictureBytes(kWidth, kHeight), 0);
  std::mt19937 noise(2024);
  std::normal_distribution<double> grain(0.0, 3.0);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      const double u = double(x) / kWidth, v = double(y) / kHeight;
      const double r = 140 + 100 * std::sin(5.0 * u + 1.5 * v),
                   g = 125 + 90 * std::cos(3.5 * v - 2.5 * u),
                   b = 115 + 95 * std::sin(4.0 * u * v + 0.7);
      auto channel = [&](double c) { return uint8_t(std::clamp(c + grain(noise), 0.0, 255.0)); };
      PutPixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y),
                 MakeColor(channel(r), channel(g), channel(b)));
    }
  TpunCompo picture;
  picture.SetPicture(TPicture(kWidth, kHeight, std::move(block)));
  picture.ExportBitmap(path);
}

class OneFile : public FileDialogSeam {
 public:
  explicit OneFile(QString path) : path_(std::move(path)) {}
  QStringList Open(QWidget*, const FileDialogRequest&) override { return {path_}; }
  QString Save(QWidget*, const FileDialogRequest&) override { return {}; }

 private:
  QString path_;
};

}  // namespace

int main(int argc, char** argv) {
  // The settings file of the run lives there too: the user's own is left alone.
  const OffscreenSession session;
  if (!session.Valid()) return 1;
  const QTemporaryDir& folder = session.Folder();
  QApplication app(argc, argv);

  const std::string picture = folder.filePath("photograph.bmp").toStdString();
  WritePhotograph(picture);
  // The model's part of the command, alone, for comparison: it runs beside the windows.
  QElapsedTimer import_alone;
  {
    TpunCompo reader;
    import_alone.start();
    reader.ImportBitmap(picture);
  }
  const double import_alone_ms = import_alone.nsecsElapsed() / 1e6;
  OneFile dialogs(QString::fromStdString(picture));
  InstallFileDialogs(&dialogs);

  TMainForm frame;
  frame.show();
  TMDIChild* window = frame.CreateDocument();
  if (!window) return 1;
  frame.AddChild(window);

  QElapsedTimer clock;
  qint64 last_tick = 0, longest_gap = 0, longest_after_command = 0, import_returned = -1,
         shown_at = -1;
  bool importing = false;
  auto shown = [&] {
    return import_returned >= 0 && !window->Working() &&
           window->image1->Picture().size() == QSize(kWidth, kHeight);
  };
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(1);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (!importing) return;
    const qint64 now = clock.nsecsElapsed();
    longest_gap = std::max(longest_gap, now - last_tick);
    if (import_returned >= 0)
      longest_after_command = std::max(longest_after_command, now - last_tick);
    last_tick = now;
    if (shown_at < 0 && shown()) {
      shown_at = now;
      importing = false;
    }
  });
  QTimer::singleShot(0, [&] {
    clock.start();
    importing = true;
    // The command itself runs here, on the UI thread, and counts in the gap it makes.
    window->Import1Click();
    const qint64 now = clock.nsecsElapsed();
    longest_gap = std::max(longest_gap, now - last_tick);
    last_tick = now;
    import_returned = now;
  });
  // Ends once the worker has freed itself, or after two minutes whatever happened.
  QTimer finish;
  finish.setInterval(10);
  QObject::connect(&finish, &QTimer::timeout, [&] {
    if ((shown_at >= 0 && !window->Working()) || (clock.isValid() && clock.elapsed() > 120000))
      QCoreApplication::exit(0);  // not quit(): that would close the windows first
  });
  ticker.start();
  finish.start();
  app.exec();
  InstallFileDialogs(nullptr);

  if (shown_at < 0) {
    std::printf("ui_responsiveness: the mapped picture was not shown within two minutes\n");
    return 1;
  }
  // Shown is what was mapped, and mapped means every pixel is a floss color.
  const TpunPal& palette = window->Composition->Palette();
  std::set<QRgb> floss;
  for (int32_t i = 0; i < palette.Count(); ++i) {
    const TColor color = palette.GetClr(i);
    floss.insert(qRgb(RedOf(color), GreenOf(color), BlueOf(color)));
  }
  const QImage& shown_picture = window->image1->Picture();
  bool mapped = shown_picture == CreateScreenBitmap(*window->Composition);
  for (int y = 0; y < kHeight && mapped; y += 7)
    for (int x = y % 13; x < kWidth && mapped; x += 13)
      mapped = floss.count(shown_picture.pixel(x, y)) > 0;
  const double gap_ms = longest_gap / 1e6;
  std::printf("ui_responsiveness %ux%u picture, %d floss\n", kWidth, kHeight,
              window->Composition->Palette().Count());
  std::printf("  Import command (windows stay live): %7.1f ms (ImportBitmap alone %.1f ms)\n",
              import_returned / 1e6, import_alone_ms);
  std::printf("  import to mapped picture shown:    %8.1f ms\n", shown_at / 1e6);
  std::printf("  longest gap between UI events:     %8.1f ms (target <= %.0f ms) %s\n", gap_ms,
              kTargetGapMs, gap_ms <= kTargetGapMs ? "ok" : "OVER");
  std::printf("  longest gap once the command ended: %8.1f ms (the worker's part)\n",
              longest_after_command / 1e6);
  std::printf("  shown picture is the mapped one:   %s\n", mapped ? "yes" : "NO");
  return mapped ? 0 : 1;
}
