#include "composition/picture.h"

#include <stdexcept>

TPicture::TPicture(uint16_t width, uint16_t height, PictureBlock block)
    : width_(width), height_(height) {
  if (block.size() < PictureBytes(width, height))
    throw std::invalid_argument("picture block smaller than its width and height");
  // Made non-const, so that TakeUnsharedBlock may move it out once it is the only holder.
  block_ = std::make_shared<PictureBlock>(std::move(block));
}

PictureBlock TPicture::TakeUnsharedBlock() {
  if (!block_ || block_.use_count() != 1) return PictureBlock();
  PictureBlock block = std::move(const_cast<PictureBlock&>(*block_));
  *this = TPicture();
  return block;
}

const PictureBlock& TPicture::Block() const {
  static const PictureBlock kNone;
  return block_ ? *block_ : kNone;
}

bool operator==(const TPicture& a, const TPicture& b) {
  return a.width_ == b.width_ && a.height_ == b.height_ && a.Empty() == b.Empty() &&
         (a.block_ == b.block_ || a.Block() == b.Block());
}
