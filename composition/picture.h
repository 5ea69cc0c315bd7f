#pragma once
// A picture: its width, its height and the block of its pixel rows, always together. The
// block never changes once the picture is made, so copies share it: a working copy of a
// composition costs no second block, and a picture handed to another thread stays whole.

#include <cstdint>
#include <memory>

#include "composition/picture_block.h"

class TPicture {
 public:
  TPicture() = default;  // no picture
  // Raises std::invalid_argument when the block holds fewer bytes than width x height
  // pixels need. A block may hold more (an imported bitmap's pixel data as stored).
  TPicture(uint16_t width, uint16_t height, PictureBlock block);

  bool Empty() const { return !block_; }
  explicit operator bool() const { return !Empty(); }
  uint16_t Width() const { return width_; }
  uint16_t Height() const { return height_; }
  // The rows; an empty block for no picture.
  const PictureBlock& Block() const;
  const uint8_t* Data() const { return Block().data(); }
  size_t Size() const { return Block().size(); }

  // The block taken out, leaving no picture, when no other picture shares it; else an empty
  // block and the picture stays. Lets a picture about to be replaced lend its block to the
  // next one of its size instead of a fresh block being faulted in.
  PictureBlock TakeUnsharedBlock();

  // The same sizes and the same bytes.
  friend bool operator==(const TPicture& a, const TPicture& b);

 private:
  uint16_t width_ = 0;
  uint16_t height_ = 0;
  std::shared_ptr<const PictureBlock> block_;
};
