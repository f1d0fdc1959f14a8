// The statistics screen, opened from the title with Tab.
#pragma once

#include "state/game_state.h"

namespace stats {

// Reads the history (once, not every frame) and shows the screen from the
// next frame on: the rounds of the word list in play, or of every list.
void OpenStatsScreen(state::GameState& g);

// One frame of the open screen: Tab, Space or Esc go back to the title, L
// switches between the list in play and every list; then the screen is
// drawn, its key map in the player's keyboard layout.
void UpdateStatsScreen(state::GameState& g);

}  // namespace stats
