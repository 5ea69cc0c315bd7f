#pragma once
// The rule by which a color finds its nearest floss. Exact RGB (least squared distance) is
// the program's own; CIEDE2000 matches as the eye sees. A palette takes the rule through
// TpunPal::SetColorMatch, after which every lookup it answers (NearestClr, NearestClrs,
// NearestIndex, and so every pass that maps a picture with it) follows it.

#include "palette/nearest_color_search.h"

enum class ColorMatch { ExactRgb = 0, Ciede2000 = 1 };

// The rule stored as `number` (0 or 1); false, leaving `rule` alone, for any other number.
bool ColorMatchFromNumber(int number, ColorMatch& rule);

// What a palette makes its nearest-color search with under `rule`.
NearestSearchMaker NearestSearchFor(ColorMatch rule);
