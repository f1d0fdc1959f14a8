// Falling letters: the bottom-out test, drawing and motion.
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace playfield {

void CheckBottomOut(core::GameState& g, int16_t index);
void DrawAndMoveTarget(core::GameState& g, int16_t index, int32_t elapsedMs);

}  // namespace playfield
