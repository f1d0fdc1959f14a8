// Score pop-ups left by hits.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace playfield {

void UpdatePopups(state::GameState& g, int32_t elapsedMs);

}  // namespace playfield
