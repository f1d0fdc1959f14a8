// Falling letters: the bottom-out test, drawing and motion.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace playfield {

void CheckBottomOut(state::GameState& g, int16_t index);
void DrawAndMoveTarget(state::GameState& g, int16_t index, int32_t elapsedMs);

}  // namespace playfield
