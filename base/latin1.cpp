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
