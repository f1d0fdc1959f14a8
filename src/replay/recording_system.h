// The system that records what another one delivers to the game.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "media/forwarding.h"
#include "replay/recording.h"
#include "state/game_state.h"

namespace replay {

// Told of each round of a recorded session.
class RoundEvents {
 public:
  virtual ~RoundEvents() = default;
  // After the pass in which Space started round `round`; tick is the tick
  // count that pass read, the recording's lines of the round follow.
  virtual void RoundStarted(const state::GameState& g, int round, uint32_t tick) = 0;
  // After the pass that ended it (not for a round ended by quitting).
  virtual void RoundEnded(const state::GameState& g, int round, int32_t score) = 0;
  // After the pass in which the name entry that followed it ended.
  virtual void NameEntered(const state::GameState&, int /*round*/) {}
  // After every pass, those above included.
  virtual void PassEnded(const state::GameState&) {}
};

// Records the tick count at start-up, each pass's elapsed time, the keys
// the game reads and the clicks, close requests and focus changes of the
// message steps of the system it wraps.
class RecordingSystem : public media::ForwardingSystem {
 public:
  RecordingSystem(media::System& inner, Recording& recording);

  // With the game, each round's start is noted in the recording ("# round
  // N"), and each of rounds is told of each round.
  void SetGame(const state::GameState* game, std::vector<RoundEvents*> rounds = {});

  std::shared_ptr<media::Root> CreateRoot() override;
  uint32_t GetTickCount() override;
  bool BeginPass() override;
  void DispatchMessages(media::WindowEvents& events) override;

 private:
  Recording& recording_;
  bool started_ = false;    // the first tick count read (start-up's seed) is the `start`
  bool passBegun_ = false;  // the next read is a pass's own
  bool inPass_ = false;     // between a pass's read and its message step
  uint32_t lastTick_ = 0;
  uint32_t pendingMs_ = 0;  // the elapsed time of the pass under way
  const state::GameState* game_ = nullptr;
  std::vector<RoundEvents*> rounds_;
  int16_t lastMode_ = state::kModeTitle;
  int round_ = 0;
};

}  // namespace replay
