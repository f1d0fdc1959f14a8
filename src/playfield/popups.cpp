// Score pop-ups: a flickering glow and " + points" that sink for 300 ms after a hit.
#include "playfield/popups.h"

#include <algorithm>
#include <string>

#include "playfield/sprites.h"
#include "state/arith.h"

namespace playfield {

void UpdatePopups(state::GameState& g, int32_t elapsedMs) {
  for (int k = 0; k < state::kLockSlots; ++k) {
    state::Popup& p = g.popups[k];
    if (p.timeLeft <= 0) continue;

    // Stops at 0 instead of leaving the 16-bit range on a very long frame;
    // the pop-up still shows in this frame either way.
    p.timeLeft = state::Saturate16(std::max<int64_t>(int64_t{p.timeLeft} - elapsedMs, 0));

    const double r1 = g.rng.NextDouble();
    const double r2 = g.rng.NextDouble();
    const int32_t gx = state::RoundHalfEven(p.x + r1 * 10);
    const int32_t gy = state::RoundHalfEven(p.y + r2 * 10);

    p.y += StepFor(20, elapsedMs);

    BlitSprite(g, gx, gy, kGlowRect);
    g.backBuffer->DrawText(state::RoundHalfEven(p.x), state::RoundHalfEven(p.y),
                           " + " + std::to_string(p.points));
  }
}

}  // namespace playfield
