#pragma once
// A picture made in memory with what a camera's photograph has and a drawn one lacks: a
// smooth scene seen through a lens (shading, soft edges, fine texture) and the sensor's
// noise over it, which spreads a 12-megapixel picture over about a million distinct colors.
// The same seed gives the same picture on every machine.

#include <cstddef>
#include <cstdint>

#include "composition/picture_block.h"

PictureBlock MakePhotographPicture(uint16_t width, uint16_t height, uint64_t seed);

class TpunCompo;
class TpunPal;

// The photograph as the picture of `compo` (a square of `side`), its working palette
// `colors` floss spread evenly over `main`: a pattern after a colour search, without one.
void GivePhotographPattern(TpunCompo& compo, const TpunPal& main, uint16_t side, int colors,
                           uint64_t seed);

// The count of distinct colors in a picture.
size_t DistinctColors(const PictureBlock& block, uint16_t width, uint16_t height);
