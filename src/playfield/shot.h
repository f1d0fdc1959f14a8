// The homing shot: firing, trail, hits and scoring, steering.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace playfield {

// Enter or Space in play: starts a flight from the bottom centre, unless one
// is under way or no letter is locked.
void FireShot(state::GameState& g);
// Once a frame of play: draws the shot, ends a flight, hits, steers, moves.
void UpdateShot(state::GameState& g, int32_t elapsedMs);

}  // namespace playfield
