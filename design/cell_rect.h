#pragma once
// A rectangle of design cells: left and top included, right and bottom excluded. Every drawing
// rule returns the one it changed, so the window repaints and the undo step saves only that.

#include <algorithm>

struct CellRect {
  int left = 0, top = 0, right = 0, bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
  int Width() const { return Empty() ? 0 : right - left; }
  int Height() const { return Empty() ? 0 : bottom - top; }
  long long Cells() const { return (long long)Width() * Height(); }
  bool Contains(int col, int row) const {
    return col >= left && col < right && row >= top && row < bottom;
  }

  // The smallest rectangle holding both; an empty side is ignored.
  CellRect United(const CellRect& other) const {
    if (other.Empty()) return Empty() ? CellRect{} : *this;
    if (Empty()) return other;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  CellRect Intersected(const CellRect& other) const {
    const CellRect cut{std::max(left, other.left), std::max(top, other.top),
                       std::min(right, other.right), std::min(bottom, other.bottom)};
    return cut.Empty() ? CellRect{} : cut;
  }

  // Empty rectangles are all equal: "nothing changed" has one meaning.
  friend bool operator==(const CellRect& a, const CellRect& b) {
    if (a.Empty() || b.Empty()) return a.Empty() && b.Empty();
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// A cell of the design (column, row); drawing rules take any ints and clip.
struct Cell {
  int col = 0, row = 0;
  friend bool operator==(const Cell&, const Cell&) = default;
};
