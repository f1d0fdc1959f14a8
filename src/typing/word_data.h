// The word data file "rapdata.ini": the words whose letters fall.
#pragma once

#include <string>

#include "state/game_state.h"

namespace typing {

void LoadWordData(state::GameState& g, const std::string& myPath);
// The same reading, from the file's bytes (for tests and fuzzing).
void LoadWordDataFromBytes(state::GameState& g, const std::string& bytes);

}  // namespace typing
