#include "palette/cie_lab.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct DifferencePair {
  LabColor first, second;
  double difference;
};

// The 34 test pairs published with the CIEDE2000 implementation notes of Sharma, Wu and
// Dalal (2005), with their differences to four decimals.
const DifferencePair kPublishedPairs[] = {
    {{50.0000, 2.6772, -79.7751}, {50.0000, 0.0000, -82.7485}, 2.0425},
    {{50.0000, 3.1571, -77.2803}, {50.0000, 0.0000, -82.7485}, 2.8615},
    {{50.0000, 2.8361, -74.0200}, {50.0000, 0.0000, -82.7485}, 3.4412},
    {{50.0000, -1.3802, -84.2814}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -1.1848, -84.8006}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -0.9009, -85.5211}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, 0.0000, 0.0000}, {50.0000, -1.0000, 2.0000}, 2.3669},
    {{50.0000, -1.0000, 2.0000}, {50.0000, 0.0000, 0.0000}, 2.3669},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0009}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0010}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0011}, 7.2195},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0012}, 7.2195},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0009, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0010, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0011, -2.4900}, 4.7461},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 0.0000, -2.5000}, 4.3065},
    {{50.0000, 2.5000, 0.0000}, {73.0000, 25.0000, -18.0000}, 27.1492},
    {{50.0000, 2.5000, 0.0000}, {61.0000, -5.0000, 29.0000}, 22.8977},
    {{50.0000, 2.5000, 0.0000}, {56.0000, -27.0000, -3.0000}, 31.9030},
    {{50.0000, 2.5000, 0.0000}, {58.0000, 24.0000, 15.0000}, 19.4535},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.1736, 0.5854}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2972, 0.0000}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 1.8634, 0.5757}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2592, 0.3350}, 1.0000},
    {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
    {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
    {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
    {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
    {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
    {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
    {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
    {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
    {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
};

TEST(CieLab, PublishedDifferencePairsMatchBothWays) {
  int row = 0;
  for (const DifferencePair& pair : kPublishedPairs) {
    ++row;
    EXPECT_NEAR(DeltaE2000(pair.first, pair.second), pair.difference, 1e-4) << "pair " << row;
    EXPECT_NEAR(DeltaE2000(pair.second, pair.first), pair.difference, 1e-4) << "pair " << row;
  }
  EXPECT_EQ(row, 34);
}

TEST(CieLab, SrgbPrimariesAndNeutralsGiveTheirLabValues) {
  // White is the D65 white itself; greys have no chroma; black is zero.
  const LabColor white = LabOf(MakeColor(255, 255, 255));
  EXPECT_NEAR(white.L, 100, 1e-4);
  EXPECT_NEAR(white.a, 0, 1e-3);
  EXPECT_NEAR(white.b, 0, 1e-3);
  const LabColor black = LabOf(MakeColor(0, 0, 0));
  EXPECT_EQ(black.L, 0);
  EXPECT_EQ(black.a, 0);
  EXPECT_EQ(black.b, 0);
  for (int v : {1, 10, 119, 200}) {
    const LabColor grey = LabOf(MakeColor(uint8_t(v), uint8_t(v), uint8_t(v)));
    EXPECT_NEAR(grey.a, 0, 1e-3) << v;
    EXPECT_NEAR(grey.b, 0, 1e-3) << v;
  }
  // Channel order: red, green and blue land in their own quarters of the (a, b) plane.
  const LabColor red = LabOf(MakeColor(255, 0, 0)), green = LabOf(MakeColor(0, 255, 0)),
                 blue = LabOf(MakeColor(0, 0, 255));
  EXPECT_NEAR(red.L, 53.24, 0.01);
  EXPECT_NEAR(red.a, 80.09, 0.01);
  EXPECT_NEAR(red.b, 67.20, 0.01);
  EXPECT_NEAR(green.L, 87.73, 0.01);
  EXPECT_NEAR(green.a, -86.18, 0.01);
  EXPECT_NEAR(green.b, 83.18, 0.01);
  EXPECT_NEAR(blue.L, 32.30, 0.01);
  EXPECT_NEAR(blue.a, 79.19, 0.01);
  EXPECT_NEAR(blue.b, -107.86, 0.01);
  // The dark end is the linear part of both curves.
  EXPECT_NEAR(LabOf(MakeColor(1, 1, 1)).L, 0.2741, 1e-3);
}

TEST(CieLab, LightnessAloneBoundsTheDifferenceFromBelow) {
  // The bound the fast nearest search stops by, at the extremes of lightness and hue.
  const LabColor colors[] = {{0, 0, 0},      {100, 0, 0},  {0, 80, -100}, {100, -86, 83},
                             {50, 30, -90},  {5, 1, -20},  {95, 60, 60},  {32, 79, -108},
                             {70, -40, -40}, {20, 0, -50}, {88, 0.1, 0}};
  for (const LabColor& x : colors)
    for (const LabColor& y : colors)
      EXPECT_GE(DeltaE2000(x, y) * kMaxLightnessWeight, std::fabs(x.L - y.L));
}

}  // namespace
