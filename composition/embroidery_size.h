#pragma once
// How long a row of stitches is on the fabric, in the units the settings offer.

#include <cstdint>

// 0 centimetres, 1 millimetres, 2 inches, 3 stitches; an unknown unit counts as centimetres.
enum class LengthUnit : uint8_t { Centimetres, Millimetres, Inches, Stitches };

// The length of `stitches` stitches on fabric of `fabric_count` stitches per inch; 0 for a
// count of 0, which no fabric has.
double EmbroideryLength(uint32_t stitches, uint16_t fabric_count, uint8_t unit);
