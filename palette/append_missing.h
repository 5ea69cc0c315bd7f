#pragma once
// Adding one palette to another without repeating a name: the rule of the colour table's
// "+Clr&Pal", "+Temp" and custom colours.

#include <cstdint>
#include <vector>

#include "palette/color_list.h"

class TpunPal;

// Appends, in order, every entry of `source` whose name the target does not yet hold
// ignoring letter case (IndexOfName), the entries appended before it included; returns how
// many were appended. Each name is looked up once in an index built for this call.
int32_t AppendMissing(TpunPal& target, const TpunPal& source);
int32_t AppendMissing(TpunPal& target, const std::vector<ColorEntry>& source);
