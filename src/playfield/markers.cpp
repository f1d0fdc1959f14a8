// Lock-on markers over the locked letters, and the eight-cell lock gauge.
#include "playfield/markers.h"

#include <algorithm>
#include <cmath>

#include "playfield/sprites.h"
#include "state/arith.h"

namespace playfield {
namespace {

constexpr int32_t kGaugeX = 12;
constexpr int32_t kGaugeY = 200;
constexpr int32_t kGaugePitch = 18;
using state::kLockSlots;

}  // namespace

void DrawLockMarkers(state::GameState& g) {
  for (int j = 0; j < kLockSlots; ++j) {
    const int32_t slot = g.lockQueue[j];
    if (slot < 0 || slot >= static_cast<int32_t>(g.targets.size())) continue;
    const state::Target& t = g.targets.at(static_cast<std::size_t>(slot));
    if (t.keyCode == 0) continue;  // empty lock slot (slot 0 never holds a letter)

    media::Rect src = kMarkerRect;
    int32_t destY = 0;
    if (t.y < -2) {
      // Mostly above the screen: cut the top rows off; empty once the top reaches 127.
      src.top = state::RoundHalfEven(95 - t.y);
    } else {
      destY = state::Saturate32(int64_t{state::FloorToInt(t.y)} + 2);
    }
    BlitSprite(g, state::RoundHalfEven(t.x + 9), destY, src);
  }
}

void DrawLockGauge(state::GameState& g) {
  const int count = std::clamp<int>(g.lockCount, 0, kLockSlots);
  for (int i = count; i < kLockSlots; ++i)
    BlitSprite(g, kGaugeX, kGaugeY + kGaugePitch * i, kGaugeFreeRect);
  for (int i = 0; i < count; ++i)
    BlitSprite(g, kGaugeX, kGaugeY + kGaugePitch * i, kGaugeTakenRect);
}

}  // namespace playfield
