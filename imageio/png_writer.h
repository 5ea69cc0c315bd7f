#pragma once
// PNG files written beside their target and renamed over it once complete.

#include <QImage>
#include <string>

// Writes `image` as a PNG file; an existing file stays as it was when anything fails.
// Raises EInOutError.
void WritePng(const std::string& path, const QImage& image);
