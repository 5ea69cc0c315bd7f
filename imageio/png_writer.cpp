#include "imageio/png_writer.h"

#include <QBuffer>
#include <QImageWriter>

#include "base/atomic_file.h"
#include "base/exceptions.h"

void WritePng(const std::string& path, const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image))
    throw EInOutError("Unable to write to " + path + " : " + writer.errorString().toStdString());
  ReplaceFileContents(path, bytes.toStdString());
}
