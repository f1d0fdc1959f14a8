// The statistics screen, opened from the title with Tab.
#pragma once

#include "state/game_state.h"

namespace stats {

// Reads the history (once, not every frame) and shows the screen from the
// next frame on.
void OpenStatsScreen(state::GameState& g);

// One frame of the open screen: Tab, Space or Esc go back to the title;
// then the screen is drawn.
void UpdateStatsScreen(state::GameState& g);

}  // namespace stats
