// The target spawner, its pacing and the FPS line.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace playfield {

// The frame's spawning: the spawn and FPS clocks, the FPS line, and the next
// letter when it is due and the ring has room.
void PaceSpawning(state::GameState& g, int32_t elapsedMs);

}  // namespace playfield
