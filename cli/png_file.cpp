#include "cli/png_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "base/atomic_file.h"
#include "base/exceptions.h"
#include "cli/command_line.h"

namespace {

// Qt's PNG quality q gives zlib level (100 - q) * 9 / 91: 85 is level 1, the fastest that
// still compresses (a 400 by 400 pattern at 18 is 7,201 pixels square).
constexpr int kFastPngQuality = 85;

// The picture one byte a pixel when every pixel is grey, else a null image.
QImage GreyCopy(const QImage& image) {
  QImage grey(image.size(), QImage::Format_Grayscale8);
  if (grey.isNull()) return grey;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = grey.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb pixel = row[x];
      if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel)) return QImage();
      out[x] = uchar(qRed(pixel));
    }
  }
  return grey;
}

}  // namespace

void WritePngFile(const QImage& image, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QImage grey = GreyCopy(image);
  if (!(grey.isNull() ? image : grey).save(&buffer, "PNG", kFastPngQuality))
    throw CliError(path + ": cannot encode as PNG");
  try {
    ReplaceFileContents(path, bytes.toStdString());
  } catch (const Exception& error) {
    throw CliError(error.Message());
  }
}
