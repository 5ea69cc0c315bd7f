#include "palette/color_match.h"

#include "palette/nearest_color_index.h"
#include "palette/nearest_de2000.h"

bool ColorMatchFromNumber(int number, ColorMatch& rule) {
  if (number != int(ColorMatch::ExactRgb) && number != int(ColorMatch::Ciede2000)) return false;
  rule = ColorMatch(number);
  return true;
}

NearestSearchMaker NearestSearchFor(ColorMatch rule) {
  return rule == ColorMatch::Ciede2000 ? NearestSearchMaker(NearestDe2000Search::Make)
                                       : NearestSearchMaker(NearestColorIndex::Make);
}
