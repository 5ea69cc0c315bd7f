#include "composition/ui/screen_bitmap.h"

#include <algorithm>
#include <stdexcept>

#include "composition/composition.h"

namespace {

// One pass from the bottom-up blue-green-red rows into 0xffRRGGBB words. Rows the block
// does not hold (a block shorter than its sizes say) stay black.
void CopyRows(const PictureBlock& block, uint32_t width, uint32_t height, QImage& image) {
  const size_t pixels = 3 * size_t(width);
  for (uint32_t y = 0; y < height; ++y) {
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
    const size_t offset = PixelOffset(width, height, 0, y);
    if (offset + pixels > block.size()) {
      std::fill(out, out + width, qRgb(0, 0, 0));
      continue;
    }
    const uint8_t* in = block.data() + offset;
    for (uint32_t x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
  }
}

}  // namespace

QImage CreateScreenBitmap(const TPicture& picture) {
  const uint32_t width = picture.Width(), height = picture.Height();
  if (!picture || width == 0 || height == 0) return QImage();
  QImage image(int(width), int(height), QImage::Format_RGB32);
  // Raised, not shown: a worker never waits for a window.
  if (image.isNull()) throw std::runtime_error(kScreenBitmapError);
  CopyRows(picture.Block(), width, height, image);
  return image;
}

QImage CreateScreenBitmap(const TpunCompo& composition) {
  return CreateScreenBitmap(composition.MappedPicture());
}
