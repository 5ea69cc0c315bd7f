#pragma once
// The working-palette entry of every cell of a composition's picture.

#include <cstdint>
#include <vector>

class TpunCompo;

// Row by row from the top, each cell's source colour mapped onto the working palette.
std::vector<int32_t> CellColors(const TpunCompo& compo);
