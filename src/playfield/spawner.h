// The target spawner, its pacing and the FPS line.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace playfield {

void UpdateTargets(state::GameState& g, int32_t elapsedMs);

}  // namespace playfield
