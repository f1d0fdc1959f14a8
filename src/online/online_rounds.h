// A session's rounds on an online ranking: a ticket when each starts, the
// round sent when it ends, its name after the name entry.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "online/protocol.h"
#include "replay/recording.h"
#include "replay/recording_system.h"
#include "state/game_state.h"

namespace online {

// How long the game waits for each answer. A round waits for its ticket a
// second at most, then is played offline.
constexpr int kTicketTimeoutMs = 1000;
constexpr int kRoundTimeoutMs = 15000;
constexpr int kNameTimeoutMs = 5000;

struct Setup {
  std::string url;    // the server's address
  std::string token;  // holds the player's names on that server; empty: none yet
  // Keeps a token the server made for a name (the settings' online_token).
  std::function<void(const std::string&)> keepToken{};
  // Takes the line of each round once its fate online is settled.
  std::function<void(const std::string&)> report{};
};

// Each round of the recorded session (replay::RecordingSystem tells it of
// them) takes a ticket when it starts and is played from it; its recording
// from its start is sent when it ends, and its name when the name entry
// that followed it ends. Every exchange waits for its answer: a scripted
// run's clock is its own, so waiting changes nothing of the game.
class OnlineRounds : public replay::RecordingSink, public replay::RoundEvents {
 public:
  OnlineRounds(Setup setup, replay::Recording& recording);

  // The game the tickets deal their rounds into, once start-up has made it.
  void SetGame(state::GameState* game) { game_ = game; }

  void Line(const std::string& line) override;
  void RoundStarted(const state::GameState& g, int round, uint32_t tick) override;
  void RoundEnded(const state::GameState& g, int round, int32_t score) override;
  void NameEntered(const state::GameState& g, int round) override;
  // The session has ended: a round still under way is told of.
  void Finish(const state::GameState& g);

 private:
  void Settle();
  void SendName(const std::string& name);

  Setup setup_;
  const replay::Recording& recording_;
  state::GameState* game_ = nullptr;
  bool capturing_ = false;
  std::string round_;  // the recording of the round under way
  std::optional<Ticket> ticket_;
  std::optional<Placed> placed_;  // the round sent, waiting for its name
  std::optional<Outcome> open_;   // the round whose line is still to come
};

// The word list a round sends: the server's name for it, or nothing for a
// round it does not rank (practice, a list played by its path).
std::optional<std::string> ListToSend(const state::Choices& choices);

}  // namespace online
