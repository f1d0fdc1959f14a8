// The start of a round played on an online ranking's ticket.
#include "replay/ticket_start.h"

#include "game/title.h"
#include "typing/word_data.h"

namespace replay {

std::string TicketWordText(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += word + '\n';
  return text;
}

void StartTicketRound(state::GameState& g, uint32_t seed, const std::vector<std::string>& words) {
  // Nothing of an earlier list stays past the new one's end.
  g.words.fill({});
  g.wordStart.fill(0);
  g.letterKeys.fill(0);
  typing::LoadWordDataFromBytes(g, TicketWordText(words));
  game::StartRound(g);
  g.rng.Seed(seed);
  g.pacing = state::Pacing{};
  g.roundTime = 0;
  g.hasFocus = true;
}

}  // namespace replay
