#include "imageio/picture_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cctype>
#include <mutex>
#include <new>

#include "composition/picture_block.h"

namespace {

// The text after the file name's last dot; none when the name has no dot.
std::string ExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

std::string LowerExtension(const std::string& path) {
  std::string extension = ExtensionOf(path);
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

// Opens the file without waiting on it: a named pipe opened for reading would block until
// a writer came, and a device would be read for ever. Only a regular file is taken.
void OpenRegularFile(const std::string& path, QFile& file) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat status {};
  if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
      file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
    return;
  if (fd >= 0) ::close(fd);
  throw EInOutError(FormatMessage("Cannot open file %s", path));
}

bool TooLarge(QSize size) {
  return size.width() > kLargestPictureSide || size.height() > kLargestPictureSide ||
         qint64(size.width()) * size.height() * 4 > kLargestDecodedBytes;
}

// Qt refuses images over 256 MB by default; our own limit is checked before decoding, and
// a 16-bit picture within it decodes into twice its 8-bit size.
void AllowDecodedPictures() {
  static std::once_flag once;
  std::call_once(once, [] {
    QImageReader::setAllocationLimit(
        std::max(QImageReader::allocationLimit(), int(2 * (kLargestDecodedBytes >> 20))));
  });
}

[[noreturn]] void Refuse(const std::string& path, const QImageReader& reader,
                         const QByteArray& format) {
  const std::string extension = LowerExtension(path);
  if (format == "bmp" || (format.isEmpty() && extension == "bmp"))
    throw EPictureUnreadable(kBitmapNotValid);
  if (format.isEmpty() &&
      !QImageReader::supportedImageFormats().contains(QByteArray::fromStdString(extension)))
    throw EPictureUnreadable(FormatMessage(kUnknownPictureExtension, ExtensionOf(path)));
  throw EPictureUnreadable("Unable to read " + path + " : " + reader.errorString().toStdString());
}

QImage Checked(QImage image) {
  if (image.isNull()) throw std::bad_alloc();
  return image;
}

// Every pixel's alpha put over white, exactly as a 32-bit bitmap's is.
void PutOverWhite(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = row[x];
      const uint32_t alpha = uint32_t(qAlpha(pixel));
      if (alpha == 255) continue;
      const auto over = [alpha](int channel) {
        return int((uint32_t(channel) * alpha + 255 * (255 - alpha) + 127) / 255);
      };
      row[x] = qRgb(over(qRed(pixel)), over(qGreen(pixel)), over(qBlue(pixel)));
    }
  }
}

// Whether a PNG file embeds an ICC profile (an iCCP chunk before its pixels). Its gamma and
// chromaticity chunks alone are no profile: Qt would make one of them, and the picture's
// numbers would shift from what every other reader of the file sees.
bool PngEmbedsProfile(QFile& file) {
  qint64 at = 8;  // after the signature
  for (int chunks = 0; chunks < 10000 && file.seek(at); ++chunks) {
    uchar head[8];
    if (file.read(reinterpret_cast<char*>(head), 8) != 8) return false;
    const QByteArray type(reinterpret_cast<const char*>(head + 4), 4);
    if (type == "iCCP") return true;
    if (type == "IDAT" || type == "IEND") return false;
    const quint32 length =
        quint32(head[0]) << 24 | quint32(head[1]) << 16 | quint32(head[2]) << 8 | quint32(head[3]);
    at += 12 + qint64(length);
  }
  return false;
}

// Grey, indexed, 16-bit and transparent pictures alike become 8-bit opaque sRGB.
QImage Normalized(QImage image) {
  const bool alpha = image.hasAlphaChannel();
  const QImage::Format format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() != format) image = Checked(image.convertToFormat(format));
  const QColorSpace space = image.colorSpace();
  if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
    image.convertToColorSpace(QColorSpace::SRgb);
    Checked(image);
  }
  if (alpha) {
    PutOverWhite(image);
    image.reinterpretAsFormat(QImage::Format_RGB32);
  }
  return image;
}

}  // namespace

bool IsQtPictureFile(const std::string& path) {
  const std::string extension = LowerExtension(path);
  return extension == "png" || extension == "jpg" || extension == "jpeg";
}

QImage ReadImage(const std::string& path) {
  AllowDecodedPictures();
  QFile file;
  OpenRegularFile(path, file);
  QImageReader reader(&file);
  reader.setAutoTransform(true);
  const QByteArray format = reader.format();
  if (format.isEmpty()) Refuse(path, reader, format);
  const QSize size = reader.size();
  if (size.isValid() && TooLarge(size)) throw EPictureUnreadable(kPictureTooLarge);
  QImage image = reader.read();
  if (image.isNull()) Refuse(path, reader, format);
  if (format == "png" && !PngEmbedsProfile(file)) image.setColorSpace(QColorSpace());
  if (TooLarge(image.size())) throw EPictureUnreadable(kPictureTooLarge);
  return Normalized(std::move(image));
}

ImportedPicture PictureOfImage(const QImage& image) {
  if (image.width() > kLargestPictureSide || image.height() > kLargestPictureSide)
    throw EPictureUnreadable(kPictureTooLarge);
  const QImage opaque = image.format() == QImage::Format_RGB32
                            ? image
                            : Checked(image.convertToFormat(QImage::Format_RGB32));
  const uint32_t width = uint32_t(opaque.width()), height = uint32_t(opaque.height());
  ImportedPicture picture{NewPictureBlock(PictureBytes(width, height)), uint16_t(width),
                          uint16_t(height)};
  const size_t row_length = RowLength(width);
  for (uint32_t y = 0; y < height; ++y) {
    const QRgb* from = reinterpret_cast<const QRgb*>(opaque.constScanLine(int(y)));
    uint8_t* to = picture.block.data() + (height - 1 - y) * row_length;
    for (uint32_t x = 0; x < width; ++x, to += 3) {
      to[0] = uint8_t(qBlue(from[x]));
      to[1] = uint8_t(qGreen(from[x]));
      to[2] = uint8_t(qRed(from[x]));
    }
  }
  return picture;
}

ImportedPicture ReadPicture(const std::string& path) {
  return PictureOfImage(ReadImage(path));
}
