#pragma once
// The box a drag from S to E gives a shape, kept in 64 bits because the rules accept any ints
// and the far corner of INT_MAX is one past it.

#include "design/cell_rect.h"

struct WideBox {
  long long left = 0, top = 0, right = 0, bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
  long long Width() const { return right - left; }
  long long Height() const { return bottom - top; }
  CellRect Clipped(const CellRect& bounds) const;
};

// Corners ordered so S is the smaller column and row; where S and E differ the far corner is
// one further (exclusive), where they are equal the box has no extent in that direction.
WideBox OrderedBox(Cell s, Cell e);

// The cells from S to E with both ends in, as a box (the one a line can touch).
WideBox InclusiveBox(Cell s, Cell e);
