#pragma once
// Colors as the eye sees them: sRGB (D65) to CIELAB, and the CIEDE2000 color difference
// (kL = kC = kH = 1), in double precision. Every perceptual match in the program goes
// through these two functions, so a faster search and the plain one compute the very same
// distances and can be compared exactly.

#include "base/color.h"

struct LabColor {
  double L = 0, a = 0, b = 0;
};

// The CIELAB value of an 8-bit sRGB color, against the D65 white.
LabColor LabOf(TColor color);

// The CIEDE2000 difference from `x` to `y`. Mathematically symmetric; callers that must
// agree to the last bit always pass the color asked about first.
double DeltaE2000(const LabColor& x, const LabColor& y);

// The largest S_L for lightnesses 0 to 100 (1.747...), rounded up: since the rotation term
// cannot make the sum negative, DeltaE2000 >= |L1 - L2| / kMaxLightnessWeight.
inline constexpr double kMaxLightnessWeight = 1.75;
