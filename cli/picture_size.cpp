#include "cli/picture_size.h"

#include <string>

#include "base/int_parse.h"
#include "composition/resample.h"

namespace {

constexpr int32_t kLargest = 65535;

// An option's value, or none when it is absent (a word of the command line holds no NUL).
std::optional<std::string> TakeValue(Arguments& args, const std::string& name) {
  const std::string absent(1, '\0');
  std::string value = args.TakeOption(name, absent);
  if (value == absent) return std::nullopt;
  return value;
}

uint16_t Side(const std::string& text, const std::string& what) {
  return uint16_t(ParseNumber(text, 1, kLargest, what));
}

}  // namespace

std::optional<PictureSize> PictureSize::Take(Arguments& args) {
  const auto width = TakeValue(args, "--width");
  const auto height = TakeValue(args, "--height");
  const auto size = TakeValue(args, "--size");
  if (int(bool(width)) + int(bool(height)) + int(bool(size)) > 1)
    throw CliError("give one of --width, --height and --size, not more");
  PictureSize result;
  if (width) {
    result.width_ = Side(*width, "--width");
  } else if (height) {
    result.height_ = Side(*height, "--height");
  } else if (size) {
    const size_t cross = size->find_first_of("xX");
    std::optional<int32_t> w, h;
    if (cross != std::string::npos) {
      w = TryStrToInt(size->substr(0, cross));
      h = TryStrToInt(size->substr(cross + 1));
    }
    if (!w || !h || *w < 1 || *w > kLargest || *h < 1 || *h > kLargest)
      throw CliError("--size must be WIDTHxHEIGHT, each a whole number from 1 to 65535, not \"" +
                     *size + "\"");
    result.width_ = uint16_t(*w);
    result.height_ = uint16_t(*h);
  } else {
    return std::nullopt;
  }
  return result;
}

std::pair<uint16_t, uint16_t> PictureSize::For(uint16_t source_width,
                                               uint16_t source_height) const {
  if (width_ != 0 && height_ != 0) return {width_, height_};
  if (width_ != 0) return {width_, ProportionalHeight(source_width, source_height, width_)};
  return {ProportionalWidth(source_width, source_height, height_), height_};
}
