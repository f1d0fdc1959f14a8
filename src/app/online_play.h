// A game's online ranking: its server, the player's token there, and what the title says of it.
#pragma once

#include <optional>
#include <string>

#include "online/online_rounds.h"
#include "state/game_state.h"

namespace app {

// The online ranking at its address, whether on or off now (none: offline
// for good; a build without a network, or an address that cannot be used,
// says so in one line and plays offline), with the token that holds the
// player's names there, kept in the settings file at settingsPath (the
// player's, never a game folder's).
std::optional<online::Setup> OnlineSetup(const state::OnlineRanking& online,
                                         const std::string& settingsPath);

// One line for the title about how a round fared online, in the game's language.
std::string OnlineNote(const state::GameState& g, const online::Outcome& outcome);

}  // namespace app
