// The target spawner, its pacing and the FPS line.
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace playfield {

void UpdateTargets(core::GameState& g, int32_t elapsedMs);

}  // namespace playfield
