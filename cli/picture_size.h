#pragma once
// The size a picture is resized to on the command line: --width N, --height N (the other
// side in proportion) or --size WxH, in stitches from 1 to 65535.

#include <cstdint>
#include <optional>
#include <utility>

#include "cli/command_line.h"

class PictureSize {
 public:
  // Takes the size options out of `args`; none when none is given. More than one of them,
  // or a value out of range, raises CliError.
  static std::optional<PictureSize> Take(Arguments& args);

  // Width and height for a picture of source_width x source_height.
  std::pair<uint16_t, uint16_t> For(uint16_t source_width, uint16_t source_height) const;

 private:
  uint16_t width_ = 0;   // 0: in proportion to the height
  uint16_t height_ = 0;  // 0: in proportion to the width
};
