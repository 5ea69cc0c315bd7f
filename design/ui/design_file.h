#pragma once
// Design files: BMP (24 bits, the bytes a composition's bitmap export writes for the same
// pixels) and PNG, one pixel per cell. Reading takes any BMP or PNG the picture reader knows.

#include <QString>
#include <string>

#include "base/exceptions.h"
#include "composition/picture_block.h"
#include "design/design_raster.h"

inline constexpr int kLargestDesign = 4096;
inline constexpr const char* kDesignFileTooLarge =
    "Design too large (at most 4096 by 4096 cells) !";

// A file read as a design is larger than kLargestDesign on a side.
class EDesignFileTooLarge : public Exception {
 public:
  EDesignFileTooLarge() : Exception(kDesignFileTooLarge) {}
};

// The picture of a file as a new design, read under the picture reader's rules (alpha over
// white, upright, sRGB); its exceptions say why a file cannot be read, EDesignFileTooLarge
// when it is too large. All picture reading of the editor is here.
DesignRaster ReadDesignPicture(const QString& path);

// The design as a 24-bit picture block (blue, green, red, rows padded, bottom row first).
PictureBlock DesignBlock(const DesignRaster& raster);

enum class DesignFormat { Bmp, Png };
// Writes the design through a temporary file renamed over the target; EInOutError on
// failure, the target then untouched.
void WriteDesignPicture(const std::string& path, const DesignRaster& raster, DesignFormat format);
