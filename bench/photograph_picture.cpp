#include "bench/photograph_picture.h"

#include "composition/composition.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using Rgb = std::array<double, 3>;

uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// Smooth noise in [0, 1): a lattice of random values, blended with a smooth step.
class ValueNoise {
 public:
  explicit ValueNoise(uint64_t seed) : seed_(seed) {}
  double operator()(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = int64_t(fx), iy = int64_t(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    const double top = Lerp(At(ix, iy), At(ix + 1, iy), tx);
    const double bottom = Lerp(At(ix, iy + 1), At(ix + 1, iy + 1), tx);
    return Lerp(top, bottom, ty);
  }
  // Octaves from `scale` cycles per unit, each twice as fine and half as strong.
  double Fractal(double x, double y, double scale, int octaves) const {
    double sum = 0, weight = 0.5, total = 0;
    for (int o = 0; o < octaves; ++o, scale *= 2, weight *= 0.5) {
      sum += weight * (*this)(x * scale + 17 * o, y * scale - 31 * o);
      total += weight;
    }
    return sum / total;
  }

 private:
  static double Smooth(double t) { return t * t * (3 - 2 * t); }
  static double Lerp(double a, double b, double t) { return a + (b - a) * t; }
  double At(int64_t x, int64_t y) const {
    return double(Mix(seed_ ^ Mix(uint64_t(x) * 73856093u ^ uint64_t(y) * 19349663u)) >> 11) /
           double(uint64_t(1) << 53);
  }
  uint64_t seed_;
};

Rgb Blend(const Rgb& a, const Rgb& b, double t) {
  return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

// How much of a shape a point is inside, with an edge `soft` wide.
double Inside(double signed_distance, double soft) {
  return std::clamp(0.5 - signed_distance / soft, 0.0, 1.0);
}

// A landscape in daylight: sky with clouds, hills, a field, a lake, a house, a tree and a
// face in the foreground; u and v run from 0 to 1 across and down.
Rgb Scene(const ValueNoise& noise, double u, double v) {
  const double horizon = 0.42 + 0.05 * std::sin(5 * u) + 0.03 * noise.Fractal(u, 0, 6, 3);
  Rgb color;
  if (v < horizon) {
    const double cloud = std::clamp(noise.Fractal(u * 1.6, v * 3, 3, 5) * 1.8 - 0.75, 0.0, 1.0);
    color = Blend({55, 105, 190}, {190, 210, 232}, std::pow(v / horizon, 1.5));
    color = Blend(color, {238, 238, 242}, cloud);
  } else {
    const double depth = (v - horizon) / (1 - horizon);
    const double grass = noise.Fractal(u * 40, v * 90, 1, 4);
    color = Blend({95, 125, 60}, {60, 95, 30}, depth);
    color = Blend(color, {150, 130, 70}, 0.5 * noise.Fractal(u, v, 4, 3));
    for (double& c : color) c *= 0.75 + 0.5 * grass;
    // Flowers of every hue in the meadow, denser towards the front.
    const double bloom = noise.Fractal(u * 160, v * 220, 1, 2);
    const double hue = 6 * noise(u * 23 + 5, v * 31);
    const Rgb petal = {255 * std::clamp(std::fabs(hue - 3) - 1, 0.0, 1.0),
                       255 * std::clamp(2 - std::fabs(hue - 2), 0.0, 1.0),
                       255 * std::clamp(2 - std::fabs(hue - 4), 0.0, 1.0)};
    color = Blend(color, Blend(petal, {235, 230, 200}, 0.35),
                  std::clamp((bloom - 0.67 + 0.08 * depth) * 5, 0.0, 0.8));
    // The lake mirrors the sky, rippled.
    const double lx = (u - 0.3) / 0.22, ly = (v - horizon - 0.08) / 0.05;
    const double lake = Inside(std::hypot(lx, ly) - 1, 0.15);
    const double ripple = 0.9 + 0.2 * std::sin(400 * v + 8 * noise(u * 30, v * 30));
    color = Blend(color, {80 * ripple, 130 * ripple, 185 * ripple}, lake);
  }
  // The house: a lit wall, a shaded wall, a red roof.
  const double wall =
      Inside(std::max(std::fabs(u - 0.68) - 0.07, std::fabs(v - 0.5) - 0.06), 0.002);
  const Rgb lit = u < 0.68 ? Rgb{225, 215, 190} : Rgb{150, 140, 125};
  color = Blend(color, lit, wall);
  const double roof =
      Inside(std::max(std::fabs(u - 0.68) - 0.08 + (0.44 - v) * 1.3, v - 0.44), 0.002) *
      (v > 0.38 ? 1.0 : 0.0);
  color = Blend(color, {170 - 60 * (u - 0.6) * 5, 55, 40}, roof);
  // The tree: a dark crown of leaves on a trunk.
  const double crown = Inside(std::hypot((u - 0.86) / 0.09, (v - 0.36) / 0.16) - 1 +
                                  0.25 * noise.Fractal(u * 20, v * 20, 1, 3),
                              0.05);
  const double leaves = noise.Fractal(u * 120, v * 120, 1, 3);
  color = Blend(color, {30 + 60 * leaves, 70 + 80 * leaves, 25 + 30 * leaves}, crown);
  // A face and shoulder close to the lens, slightly out of focus.
  const double face = Inside(std::hypot((u - 0.2) / 0.11, (v - 0.72) / 0.16) - 1, 0.08);
  const double shade = 0.65 + 0.45 * std::clamp(1 - 2.5 * std::hypot(u - 0.16, v - 0.66), 0.0, 1.0);
  color = Blend(color, {228 * shade, 170 * shade, 140 * shade}, face);
  const double coat = Inside(std::hypot((u - 0.2) / 0.25, (v - 1.05) / 0.2) - 1, 0.03);
  color = Blend(color, {40 + 50 * noise(u * 200, v * 200), 45, 95}, coat);
  // The lens darkens the corners.
  const double vignette = 1 - 0.35 * (std::pow(u - 0.5, 2) + std::pow(v - 0.5, 2));
  for (double& c : color) c *= vignette;
  return color;
}

}  // namespace

PictureBlock MakePhotographPicture(uint16_t width, uint16_t height, uint64_t seed) {
  // The scene at a quarter of the size, then enlarged smoothly as a lens blurs it.
  constexpr int kScale = 4;
  const int scene_width = width / kScale + 2, scene_height = height / kScale + 2;
  const ValueNoise noise(seed);
  std::vector<Rgb> scene(size_t(scene_width) * scene_height);
  for (int y = 0; y < scene_height; ++y)
    for (int x = 0; x < scene_width; ++x)
      scene[size_t(y) * scene_width + x] =
          Scene(noise, double(x) / (scene_width - 2), double(y) / (scene_height - 2));

  PictureBlock block(PictureBytes(width, height), 0);
  for (uint32_t y = 0; y < height; ++y) {
    uint64_t state = Mix(seed ^ (uint64_t(y) << 32));
    const auto uniform = [&] {  // in [-0.5, 0.5)
      state = Mix(state);
      return double(state >> 11) / double(uint64_t(1) << 53) - 0.5;
    };
    const double sy = double(y) / kScale;
    const int y0 = int(sy);
    const double ty = sy - y0;
    uint8_t* row = block.data() + PixelOffset(width, height, 0, y);
    for (uint32_t x = 0; x < width; ++x) {
      const double sx = double(x) / kScale;
      const int x0 = int(sx);
      const double tx = sx - x0;
      const auto at = [&](int dx, int dy) -> const Rgb& {
        return scene[size_t(y0 + dy) * scene_width + x0 + dx];
      };
      const Rgb top = Blend(at(0, 0), at(1, 0), tx), bottom = Blend(at(0, 1), at(1, 1), tx);
      const Rgb color = Blend(top, bottom, ty);
      // Sensor noise: a grain common to the channels and one of each, stronger in the
      // light (shot noise); sums of uniforms are close enough to normal.
      const double grain = 1.5 * (uniform() + uniform() + uniform());
      for (int c = 0; c < 3; ++c) {
        const double sigma = 1.2 + 0.016 * color[c];
        const double own = sigma * 2 * (uniform() + uniform() + uniform());
        row[3 * x + 2 - c] = uint8_t(std::clamp(std::lround(color[c] + grain + own), 0l, 255l));
      }
    }
  }
  return block;
}

size_t DistinctColors(const PictureBlock& block, uint16_t width, uint16_t height) {
  std::vector<uint64_t> seen((size_t(1) << 24) / 64, 0);
  size_t count = 0;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const TColor color = PixelAt(block.data(), PixelOffset(width, height, x, y));
      uint64_t& word = seen[color >> 6];
      const uint64_t bit = uint64_t(1) << (color & 63);
      count += (word & bit) == 0;
      word |= bit;
    }
  }
  return count;
}

void GivePhotographPattern(TpunCompo& compo, const TpunPal& main, uint16_t side, int colors,
                           uint64_t seed) {
  compo.SetPicture(TPicture(side, side, MakePhotographPicture(side, side, seed)));
  TpunPal& palette = compo.Palette();
  palette.Clear();
  for (int i = 0; i < colors; ++i) {
    const int32_t entry = int32_t(int64_t(i) * main.Count() / colors);
    palette.AddClr(main.GetClr(entry), main.GetName(entry));
  }
}
