// The homing shot: trail, hits and scoring, steering.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace playfield {

void UpdateShot(state::GameState& g, int32_t elapsedMs);

}  // namespace playfield
