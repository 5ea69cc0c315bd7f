// Pictures through imageio, 12 megapixels each: the viewer's open of a JPEG photograph and
// the conversion of a PNG import, each beside Qt's plain decoding of the same file in the
// same run (the part no reader of ours can avoid). Printed only.

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "app/ui/viewer_form.h"
#include "bench/offscreen_session.h"
#include "bench/photograph_picture.h"
#include "imageio/picture_reader.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000, kRuns = 3;

// The best of a few runs, in milliseconds.
double Best(const std::function<void()>& body) {
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    QElapsedTimer timer;
    timer.start();
    body();
    best = std::min(best, timer.nsecsElapsed() / 1e6);
  }
  return best;
}

QImage Photograph() {
  const PictureBlock block = MakePhotographPicture(kWidth, kHeight, 13);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (int y = 0; y < kHeight; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < kWidth; ++x)
      row[x] = 0xFF000000u | PixelAt(block.data(), PixelOffset(kWidth, kHeight, x, y));
  }
  return image;
}

void Report(const char* what, double ours, const char* reference_name, double reference) {
  std::printf("%-34s %8.1f ms   %s %8.1f ms   ratio %.2f\n", what, ours, reference_name, reference,
              ours / reference);
}

}  // namespace

int main(int argc, char** argv) {
  OffscreenSession session;
  if (!session.Valid()) return 1;
  QApplication application(argc, argv);
  const QString folder = session.Folder().path();
  const QString jpeg = folder + "/photo.jpg", png = folder + "/photo.png";
  {
    const QImage photo = Photograph();
    QImageWriter jpeg_writer(jpeg, "jpeg");
    jpeg_writer.setQuality(90);
    QImageWriter png_writer(png, "png");
    png_writer.setCompression(1);
    if (!jpeg_writer.write(photo) || !png_writer.write(photo)) {
      std::fputs("cannot write the test pictures\n", stderr);
      return 1;
    }
  }
  const auto decode = [](const QString& path) {
    return [path] {
      if (QImageReader(path).read().isNull()) std::fputs("decoding failed\n", stderr);
    };
  };
  std::printf("12-megapixel pictures (%d x %d), best of %d runs\n", kWidth, kHeight, kRuns);

  TViewerForm viewer;
  viewer.show();
  const double open = Best([&] {
    if (!viewer.OpenFile(jpeg)) std::fputs("the viewer refused the photograph\n", stderr);
  });
  Report("viewer open of a JPEG", open, "plain decode", Best(decode(jpeg)));

  const std::string png_path = png.toStdString();
  const double import = Best([&] { ReadPicture(png_path); });
  Report("PNG import to a picture block", import, "plain decode", Best(decode(png)));
  const QImage decoded = ReadImage(png_path);
  std::printf("%-34s %8.1f ms\n", "  of which the block conversion",
              Best([&] { PictureOfImage(decoded); }));
  return 0;
}
