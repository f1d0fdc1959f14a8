// The pause of a round whose window has lost the keyboard focus.
#pragma once

#include "state/game_state.h"

namespace game {

// Whether this frame of the game stands still: a round is being played while
// another window has the focus.
bool RoundPaused(const state::GameState& g);

// One frame of the pause: the keys that came are dropped, the pause panel is
// drawn over the round's last picture, and the frame is flipped. Nothing of
// the round moves, and its clock does not run.
void PauseFrame(state::GameState& g);

}  // namespace game
