#include "design/ui/design_file.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "composition/bitmap_file.h"
#include "imageio/picture_reader.h"
#include "imageio/png_writer.h"

namespace {

bool TooLarge(QSize size) {
  return size.width() > kLargestDesign || size.height() > kLargestDesign;
}

}  // namespace

DesignRaster ReadDesignPicture(const QString& path) {
  // A design's size is known before the picture is decoded (only a regular file is peeked
  // at: a named pipe would never answer); the picture reader's own rules do the rest.
  if (QFileInfo(path).isFile() && TooLarge(QImageReader(path).size())) throw EDesignFileTooLarge();
  const QImage picture = ReadImage(QFile::encodeName(path).toStdString());
  if (TooLarge(picture.size())) throw EDesignFileTooLarge();
  DesignRaster raster(picture.width(), picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    TColor* row = raster.Row(y);
    for (int x = 0; x < picture.width(); ++x)
      row[x] = MakeColor(uint8_t(qRed(source[x])), uint8_t(qGreen(source[x])),
                         uint8_t(qBlue(source[x])));
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

void WriteDesignPicture(const std::string& path, const DesignRaster& raster, DesignFormat format) {
  if (format == DesignFormat::Bmp) {
    WriteBitmapFile(path, DesignBlock(raster), uint16_t(raster.Width()), uint16_t(raster.Height()));
    return;
  }
  QImage picture(raster.Width(), raster.Height(), QImage::Format_RGB32);
  if (picture.isNull() && raster.Width() > 0 && raster.Height() > 0)
    throw EInOutError("Not enough memory to write " + path);
  for (int y = 0; y < raster.Height(); ++y) {
    auto* target = reinterpret_cast<QRgb*>(picture.scanLine(y));
    const TColor* row = raster.Row(y);
    for (int x = 0; x < raster.Width(); ++x)
      target[x] = qRgb(RedOf(row[x]), GreenOf(row[x]), BlueOf(row[x]));
  }
  WritePng(path, picture);
}
