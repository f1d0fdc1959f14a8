// Falling letters: the bottom-out test, drawing and motion.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace playfield {

// The frame's pass over the letters: spawning, the bottom-out test of every
// slot, then each letter in play drawn and moved (each run of the ring from
// its newest slot down).
void UpdateTargets(state::GameState& g, int32_t elapsedMs);

void CheckBottomOut(state::GameState& g, int16_t index);
void DrawAndMoveTarget(state::GameState& g, int16_t index, int32_t elapsedMs);

}  // namespace playfield
