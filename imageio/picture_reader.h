#pragma once
// Pictures read with Qt's image readers, under one set of rules for every window and
// puntel-cli: only regular files are opened (a named pipe would block), the size is checked
// before anything is decoded, an embedded colour profile is converted to sRGB, the EXIF
// orientation is applied, and transparent pixels are put over white, the fabric.

#include <QImage>
#include <string>

#include "base/exceptions.h"
#include "composition/bitmap_file.h"

inline constexpr const char* kPictureTooLarge = "Picture too large !";
inline constexpr const char* kUnknownPictureExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";

// Larger pictures are refused before they are decoded.
inline constexpr int kLargestPictureSide = 65535;
inline constexpr qint64 kLargestDecodedBytes = qint64(1) << 30;

// A picture file that cannot be shown or imported; the message says why.
class EPictureUnreadable : public Exception {
 public:
  using Exception::Exception;
};

// Whether a file is imported through Qt's readers rather than as a bitmap: ".png", ".jpg"
// and ".jpeg", letter case ignored.
bool IsQtPictureFile(const std::string& path);

// The picture as 32-bit opaque pixels (QImage::Format_RGB32) in sRGB, upright. Raises
// EInOutError "Cannot open file <path>" for a file that cannot be opened or is no regular
// file, EPictureUnreadable for a picture too large, of a kind no reader knows, or damaged.
QImage ReadImage(const std::string& path);

// An opaque image as a picture block (blue, green, red, rows padded to four bytes, bottom
// row first). Raises EPictureUnreadable kPictureTooLarge for a side over 65535 pixels.
ImportedPicture PictureOfImage(const QImage& image);

// PictureOfImage of ReadImage: a picture a composition takes as it takes a bitmap.
ImportedPicture ReadPicture(const std::string& path);
