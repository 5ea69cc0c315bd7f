#include "design/ui/design_file.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include "base/atomic_file.h"
#include "composition/bitmap_file.h"

namespace {

// A channel of a pixel put over white, the fabric.
uint8_t OverWhite(int channel, int alpha) {
  return uint8_t((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

}  // namespace

DesignRaster ReadDesignPicture(const QString& path) {
  // Only regular files: reading a named pipe would never end.
  if (!QFileInfo(path).isFile()) throw Exception("The file does not exist or is no regular file.");
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > kLargestDesign || size.height() > kLargestDesign))
    throw EDesignFileTooLarge();
  QImage picture;
  if (!reader.read(&picture)) throw Exception(reader.errorString().toStdString());
  if (picture.width() > kLargestDesign || picture.height() > kLargestDesign)
    throw EDesignFileTooLarge();
  picture = picture.convertToFormat(QImage::Format_ARGB32);
  DesignRaster raster(picture.width(), picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    TColor* row = raster.Row(y);
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb pixel = source[x];
      const int alpha = qAlpha(pixel);
      row[x] = MakeColor(OverWhite(qRed(pixel), alpha), OverWhite(qGreen(pixel), alpha),
                         OverWhite(qBlue(pixel), alpha));
    }
  }
  return raster;
}

PictureBlock DesignBlock(const DesignRaster& raster) {
  const auto width = uint32_t(raster.Width()), height = uint32_t(raster.Height());
  PictureBlock block(PictureBytes(width, height), 0);
  for (uint32_t y = 0; y < height; ++y) {
    const TColor* row = raster.Row(int(y));
    uint8_t* target = block.data() + PixelOffset(width, height, 0, y);
    for (uint32_t x = 0; x < width; ++x) PutPixelAt(target, 3 * x, row[x]);
  }
  return block;
}

namespace {

QByteArray PngBytes(const DesignRaster& raster) {
  QImage picture(raster.Width(), raster.Height(), QImage::Format_RGB32);
  for (int y = 0; y < raster.Height(); ++y) {
    auto* target = reinterpret_cast<QRgb*>(picture.scanLine(y));
    const TColor* row = raster.Row(y);
    for (int x = 0; x < raster.Width(); ++x)
      target[x] = qRgb(RedOf(row[x]), GreenOf(row[x]), BlueOf(row[x]));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(picture))
    throw EInOutError("Unable to make a PNG picture: " + writer.errorString().toStdString());
  return bytes;
}

}  // namespace

void WriteDesignPicture(const std::string& path, const DesignRaster& raster, DesignFormat format) {
  if (format == DesignFormat::Bmp) {
    WriteBitmapFile(path, DesignBlock(raster), uint16_t(raster.Width()), uint16_t(raster.Height()));
    return;
  }
  const QByteArray bytes = PngBytes(raster);
  ReplaceFileContents(path, bytes.toStdString());
}
