#include "base/latin1.h"

char FoldCase(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return char(u + 32);
  // Latin-1 capitals: 0xC0-0xDE, except the multiplication sign 0xD7.
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return char(u + 32);
  return c;
}

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = FoldCase(c);
  return folded;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  return lower;
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int more = 0;
    char32_t value = 0, lowest = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      more = 1, value = lead & 0x1F, lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      more = 2, value = lead & 0x0F, lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      more = 3, value = lead & 0x07, lowest = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i <= size_t(more)) return false;
    for (int k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + size_t(k)]);
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += size_t(more) + 1;
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += char(0xC0 | (byte >> 6));
      utf8 += char(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}
