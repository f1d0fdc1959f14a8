// Lock-on markers on locked letters, and the lock gauge.
#pragma once

#include "core/game_state.h"

namespace playfield {

void DrawLockMarkers(core::GameState& g);
void DrawLockGauge(core::GameState& g);

}  // namespace playfield
