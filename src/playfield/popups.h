// Score pop-ups left by hits.
#pragma once

#include <cstdint>

#include "core/game_state.h"

namespace playfield {

void UpdatePopups(core::GameState& g, int32_t elapsedMs);

}  // namespace playfield
