// The options screen (O on the title): word list, practice, sound, keys, display, language,
// the online ranking, and the kept best rounds.
#pragma once

#include "state/game_state.h"

namespace game {

// Opens it: the word lists and the kept rounds are looked up now.
void OpenOptionsScreen(state::GameState& g);

// One frame of it, in place of the title: this frame's keys, then the screen.
void UpdateOptionsScreen(state::GameState& g);

// Says on the title's note line, once a game, that the online ranking's server is reached by
// plain http when rounds are played on it: what is sent can be read and changed on the way.
void WarnOfPlainHttp(state::GameState& g);

}  // namespace game
