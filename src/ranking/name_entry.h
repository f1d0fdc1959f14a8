// Name entry and the insertion of a result into the ranking.
#pragma once

#include <cstdint>
#include <string>

#include "core/game_state.h"

namespace ranking {

// level x 10000000 + maxLevel x 100000 + score, held at the 32-bit limits
// instead of overflowing.
int32_t ComputeRankKey(int16_t level, int16_t maxLevel, int32_t score);

std::string ReadNameKeys(core::GameState& g, const std::string& name);
void InsertRanking(core::GameState& g, int32_t score);

}  // namespace ranking
