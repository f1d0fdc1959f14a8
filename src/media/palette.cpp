// Nearest-colour lookup in a 256-entry palette.
#include "media/surface.h"

namespace media {

uint8_t Palette::Nearest(Rgb rgb) const {
  const int32_t r = rgb & 0xFF;
  const int32_t g = (rgb >> 8) & 0xFF;
  const int32_t b = (rgb >> 16) & 0xFF;
  int32_t best = 0;
  int32_t bestDistance = INT32_MAX;
  for (int32_t i = 0; i < 256; ++i) {
    const Color& c = colors_[static_cast<size_t>(i)];
    const int32_t dr = c.r - r;
    const int32_t dg = c.g - g;
    const int32_t db = c.b - b;
    const int32_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {  // strict: the lowest index wins a tie
      best = i;
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

}  // namespace media
