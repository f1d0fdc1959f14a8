// Lock-on markers on locked letters, and the lock gauge.
#pragma once

#include "state/game_state.h"

namespace playfield {

void DrawLockMarkers(state::GameState& g);
void DrawLockGauge(state::GameState& g);

}  // namespace playfield
