// The start of a round played on an online ranking's ticket.
#include "replay/ticket_start.h"

#include <memory>

#include "game/title.h"
#include "replay/round_start.h"
#include "typing/word_data.h"

namespace replay {
namespace {

// What a ticket's round starts from once Space has started it.
void SeedTicketRound(state::GameState& g, uint32_t seed) {
  g.rng.Seed(seed);
  g.pacing = state::Pacing{};
  g.roundTime = 0;
  g.hasFocus = true;
}

}  // namespace

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
  SeedTicketRound(g, seed);
}

std::string TicketResumeNote(uint32_t seed) {
  const auto g = std::make_unique<state::GameState>();
  SeedTicketRound(*g, seed);
  return ResumeNote(*g);
}

}  // namespace replay
