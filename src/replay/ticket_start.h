// The start of a round played on an online ranking's ticket.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/game_state.h"

namespace replay {

// The text of a word file that holds words, one a line: what the word
// reader makes of it is the round's word table.
std::string TicketWordText(const std::vector<std::string>& words);

// Starts a round from a ticket's seed and words, and from nothing else of
// the game: the word table made anew of the words, the round started as
// Space starts it, the random numbers seeded with seed as start-up seeds
// them, the pacing all zero, the round clock at 0, the focus held. So the
// round is the first round of a fresh game started at tick seed whose word
// file is TicketWordText(words), Space read in its first pass; the server
// that ranks the round replays it from here.
void StartTicketRound(state::GameState& g, uint32_t seed, const std::vector<std::string>& words);

// The resume note ("resume {...}", replay::ResumeNote) of the state StartTicketRound leaves
// besides the words: a kept round's text with it and the words as its word file starts the
// round as the server replayed it.
std::string TicketResumeNote(uint32_t seed);

}  // namespace replay
