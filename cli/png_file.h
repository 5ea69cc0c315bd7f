#pragma once
// The drawing commands' pictures as PNG files.

#include <string>

class QImage;

// Writes `image` as a PNG at zlib's fastest level, atomically; one byte a pixel when every
// pixel is grey (the same pixels, encoded three times faster). Raises CliError.
void WritePngFile(const QImage& image, const std::string& path);
