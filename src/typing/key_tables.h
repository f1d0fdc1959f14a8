// The key code tables: the text and the glyph cell of each key code.
#pragma once

#include <cstdint>

#include "state/game_state.h"

namespace typing {

void BuildKeyTables(state::GameState& g);

// The key code that types a word character (upper case), or 0 for a
// character that words may not hold.
int16_t WordCharCode(char c);

}  // namespace typing
