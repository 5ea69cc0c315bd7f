#include "composition/picture.h"

#include <stdexcept>

TPicture::TPicture(uint16_t width, uint16_t height, PictureBlock block)
    : width_(width), height_(height) {
  if (block.size() < PictureBytes(width, height))
    throw std::invalid_argument("picture block smaller than its width and height");
  block_ = std::make_shared<const PictureBlock>(std::move(block));
}

const PictureBlock& TPicture::Block() const {
  static const PictureBlock kNone;
  return block_ ? *block_ : kNone;
}

bool operator==(const TPicture& a, const TPicture& b) {
  return a.width_ == b.width_ && a.height_ == b.height_ && a.Empty() == b.Empty() &&
         (a.block_ == b.block_ || a.Block() == b.Block());
}
