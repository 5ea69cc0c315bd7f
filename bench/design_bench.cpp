// The design window's three steps (grid, image, colour list) for a 400 by 400 picture at
// cell 10, with the frame's progress binding (which lets events run) and without any, and
// its Save of both bitmaps against a plain write of the same bytes.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/ui/main_form.h"
#include "app/ui/mdi_child.h"
#include "app/ui/ui_seams.h"
#include "bench/offscreen_session.h"
#include "bench/photograph_picture.h"
#include "composition/bitmap_file.h"
#include "pattern/ui/model_frm.h"

namespace {

constexpr uint16_t kSide = 400;
constexpr int kRuns = 9;

class SaveTo : public FileDialogSeam {
 public:
  explicit SaveTo(QString path) : path_(std::move(path)) {}
  QStringList Open(QWidget*, const FileDialogRequest&) override { return {}; }
  QString Save(QWidget*, const FileDialogRequest&) override { return path_; }

 private:
  QString path_;
};

QImage Photograph() {
  const PictureBlock block = MakePhotographPicture(kSide, kSide, 7);
  QImage image(kSide, kSide, QImage::Format_RGB32);
  for (uint32_t y = 0; y < kSide; ++y)
    for (uint32_t x = 0; x < kSide; ++x) {
      const TColor c = PixelAt(block.data(), PixelOffset(kSide, kSide, x, y));
      image.setPixel(int(x), int(y), qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
    }
  return image;
}

// The fastest of a few runs, in milliseconds.
double Fastest(const std::function<void()>& prepare, const std::function<void()>& run,
               int runs = kRuns) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    prepare();
    QElapsedTimer clock;
    clock.start();
    run();
    best = std::min(best, clock.nsecsElapsed() / 1e6);
  }
  return best;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

const char* Verdict(bool met) {
  return met ? "ok" : "MISSED";
}

}  // namespace

int main(int argc, char** argv) {
  const OffscreenSession session;
  if (!session.Valid()) return 1;
  const QTemporaryDir& folder = session.Folder();
  QApplication app(argc, argv);
  TMainForm frame;
  frame.show();
  TMDIChild* document = frame.CreateDocument();
  if (!document) return 1;
  frame.AddChild(document);
  document->ShowPicture(Photograph());
  document->CreateModel1Click();
  auto* design = qobject_cast<TModelFrm*>(document->DesignWindow.data());
  if (!design) return 1;
  QCoreApplication::processEvents();

  const ProgressHandler binding = design->OnProgress;
  const auto steps = [&] {
    design->drawgrd->click();
    design->mapimg->click();
    design->colors->click();
  };
  const auto reset = [&] { design->BtnReset->click(); };
  // Interleaved, so that what else the machine does falls on both alike.
  std::vector<double> bare, bound;
  for (int i = 0; i < kRuns; ++i) {
    design->OnProgress = nullptr;
    bare.push_back(Fastest(reset, steps, 1));
    design->OnProgress = binding;
    bound.push_back(Fastest(reset, steps, 1));
  }
  const double bare_ms = Median(bare), bound_ms = Median(bound);
  const bool drawn = !design->colors->isEnabled() && design->ScrollBox1->isVisible();

  const QString chart = folder.filePath("design.bmp");
  SaveTo dialogs(chart);
  InstallFileDialogs(&dialogs);
  const auto remove = [&] {
    QFile::remove(chart);
    QFile::remove(folder.filePath("design-legend.bmp"));
  };
  const double save = Fastest(remove, [&] { design->btnsave->click(); });
  InstallFileDialogs(nullptr);
  // The reference: the same bytes, already in the bitmap's layout, written the same way.
  const QImage& image = design->Chart();
  const PictureBlock block(PictureBytes(uint32_t(image.width()), uint32_t(image.height())), 0);
  const std::string plain = folder.filePath("plain.bmp").toStdString();
  const double write = Fastest(
      [] {},
      [&] { WriteBitmapFile(plain, block, uint16_t(image.width()), uint16_t(image.height())); });

  std::printf("design %ux%u picture at cell 10: chart %dx%d, %d floss in the legend%s\n", kSide,
              kSide, image.width(), image.height(), int(document->Composition->Palette().Count()),
              drawn ? "" : " (STEPS NOT RUN)");
  std::printf("  three steps, no progress:        %8.1f ms median (target <= 500 ms) %s\n", bare_ms,
              Verdict(bare_ms <= 500));
  std::printf("  three steps, progress binding:   %8.1f ms median (target <= 500 ms) %s\n",
              bound_ms, Verdict(bound_ms <= 500));
  std::printf("  binding / none:                  %8.3f (target <= 1.10) %s\n", bound_ms / bare_ms,
              Verdict(bound_ms <= bare_ms * 1.10));
  std::printf("  save, chart and legend:          %8.1f ms (target <= 1000 ms) %s\n", save,
              Verdict(save <= 1000));
  std::printf("  plain write of the chart's bytes:%8.1f ms (save / write %.2f)\n", write,
              save / write);
  frame.close();
  return drawn ? 0 : 1;
}
