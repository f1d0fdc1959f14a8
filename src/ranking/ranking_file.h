// The ranking file "rapikosc.ini": read at start-up, written at shutdown.
#pragma once

#include <stdexcept>
#include <string>

#include "state/game_state.h"

namespace ranking {

class SaveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void LoadRanking(state::GameState& g, const std::string& myPath);
void LoadRankingFromBytes(state::GameState& g, const std::string& bytes);
// The file's exact bytes for the ranking held in g.
std::string RankingFileBytes(const state::GameState& g);
// Writes a temporary file beside the old one and renames it over it, so the
// old ranking survives any failure. Throws SaveError with a clear message.
void SaveRanking(const state::GameState& g, const std::string& myPath);

}  // namespace ranking
