#include "palette/cie_lab.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// The sRGB transfer curve undone, for the 256 values a channel takes.
const std::array<double, 256>& LinearChannel() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> values{};
    for (int v = 0; v < 256; ++v) {
      const double c = v / 255.0;
      values[size_t(v)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return values;
  }();
  return table;
}

// CIE's f(t), with its exact constants epsilon = 216 / 24389 and kappa = 24389 / 27.
double LabF(double t) {
  constexpr double kEpsilon = 216.0 / 24389.0, kKappa = 24389.0 / 27.0;
  return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16) / 116;
}

// The hue angle in degrees, 0 to 360; 0 for a neutral color.
double HueDegrees(double b, double a_prime) {
  if (a_prime == 0 && b == 0) return 0;
  const double h = std::atan2(b, a_prime) / kDegree;
  return h < 0 ? h + 360 : h;
}

double Pow7(double x) {
  const double x2 = x * x, x3 = x2 * x;
  return x3 * x3 * x;
}

}  // namespace

LabColor LabOf(TColor color) {
  const auto& linear = LinearChannel();
  const double r = linear[RedOf(color)], g = linear[GreenOf(color)], b = linear[BlueOf(color)];
  // sRGB primaries to XYZ, and the D65 white those rows sum to.
  const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
  const double fx = LabF(x / 0.95047), fy = LabF(y), fz = LabF(z / 1.08883);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double DeltaE2000(const LabColor& x, const LabColor& y) {
  constexpr double k25To7 = 6103515625.0;  // 25^7
  const double c1 = std::sqrt(x.a * x.a + x.b * x.b), c2 = std::sqrt(y.a * y.a + y.b * y.b);
  const double c_mean7 = Pow7((c1 + c2) / 2);
  const double g = 0.5 * (1 - std::sqrt(c_mean7 / (c_mean7 + k25To7)));
  const double a1 = (1 + g) * x.a, a2 = (1 + g) * y.a;
  const double cp1 = std::sqrt(a1 * a1 + x.b * x.b), cp2 = std::sqrt(a2 * a2 + y.b * y.b);
  const double h1 = HueDegrees(x.b, a1), h2 = HueDegrees(y.b, a2);

  const double dl = y.L - x.L, dc = cp2 - cp1;
  const bool neutral = cp1 * cp2 == 0;
  double dh = 0;
  if (!neutral) {
    dh = h2 - h1;
    if (dh > 180)
      dh -= 360;
    else if (dh < -180)
      dh += 360;
  }
  const double dhh = 2 * std::sqrt(cp1 * cp2) * std::sin(dh / 2 * kDegree);

  const double l_mean = (x.L + y.L) / 2, cp_mean = (cp1 + cp2) / 2;
  double h_mean = h1 + h2;
  if (!neutral) {
    if (std::fabs(h1 - h2) <= 180)
      h_mean /= 2;
    else
      h_mean = h_mean < 360 ? (h_mean + 360) / 2 : (h_mean - 360) / 2;
  }
  const double t =
      1 - 0.17 * std::cos((h_mean - 30) * kDegree) + 0.24 * std::cos(2 * h_mean * kDegree) +
      0.32 * std::cos((3 * h_mean + 6) * kDegree) - 0.20 * std::cos((4 * h_mean - 63) * kDegree);
  const double blue = (h_mean - 275) / 25;
  const double d_theta = 30 * std::exp(-blue * blue);
  const double cp_mean7 = Pow7(cp_mean);
  const double rc = 2 * std::sqrt(cp_mean7 / (cp_mean7 + k25To7));
  const double l50 = (l_mean - 50) * (l_mean - 50);
  const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
  const double sc = 1 + 0.045 * cp_mean;
  const double sh = 1 + 0.015 * cp_mean * t;
  const double rt = -std::sin(2 * d_theta * kDegree) * rc;

  const double tl = dl / sl, tc = dc / sc, th = dhh / sh;
  return std::sqrt(tl * tl + tc * tc + th * th + rt * tc * th);
}
