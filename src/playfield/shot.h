// The homing shot: trail, hits and scoring, steering.
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace playfield {

void UpdateShot(core::GameState& g, int32_t elapsedMs);

}  // namespace playfield
