// Glyph-sheet rectangles, the ring step and the blit that the play field draws with.
#pragma once

#include <cstdint>

#include "media/platform.h"
#include "state/arith.h"
#include "state/game_state.h"

namespace playfield {

// A letter cell and the glow are 49 x 37 pixels.
constexpr int32_t kCellWidth = 49;
constexpr int32_t kCellHeight = 37;

// The rectangles of the glyph sheet besides the letter cells (whose corners
// are in the key tables): the glow of a pop-up and of the shot, the lock
// marker, and the gauge's free and taken slots.
constexpr media::Rect kGlowRect{0, 222, 49, 259};
constexpr media::Rect kMarkerRect{300, 96, 332, 127};
constexpr media::Rect kGaugeFreeRect{300, 143, 332, 159};
constexpr media::Rect kGaugeTakenRect{300, 127, 332, 143};

using state::IsRingSlot;
using state::kRingFirst;
using state::kRingLast;
using state::NextRingSlot;

// speed (pixels per second) x elapsedMs / 1000: the product in integers, as
// the game always formed it, then the division in doubles.
inline double StepFor(int64_t perSecond, int32_t elapsedMs) {
  return static_cast<double>(perSecond * static_cast<int64_t>(elapsedMs)) / 1000.0;
}

// Keyed copy from the glyph sheet; a refused blit (off the screen, empty
// rectangle) is simply not drawn.
inline void BlitSprite(state::GameState& g, int32_t x, int32_t y, media::Rect rect) {
  g.backBuffer->FastBlit(x, y, *g.spriteSurface, rect, media::BlitFlags::KeySrcWait);
}

// A sprite whose top may stand above the screen: the rows above it are cut
// off and the rest is drawn at y 0.
inline void BlitSpriteCutAtTop(state::GameState& g, double x, double y, media::Rect src) {
  int32_t destY = 0;
  if (y < 0) {
    src.top = state::RoundHalfEven(src.top - y);
  } else {
    destY = state::RoundHalfEven(y);
  }
  BlitSprite(g, state::RoundHalfEven(x), destY, src);
}

}  // namespace playfield
