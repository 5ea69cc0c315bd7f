#include "composition/embroidery_size.h"

double EmbroideryLength(uint32_t stitches, uint16_t fabric_count, uint8_t unit) {
  if (fabric_count == 0) return 0;
  double per_inch = 2.54;
  switch (LengthUnit(unit)) {
    case LengthUnit::Millimetres:
      per_inch = 25.4;
      break;
    case LengthUnit::Inches:
      per_inch = 1.0;
      break;
    case LengthUnit::Stitches:
      per_inch = fabric_count;
      break;
    case LengthUnit::Centimetres:
      break;
  }
  return per_inch * (double(stitches) / fabric_count);
}
