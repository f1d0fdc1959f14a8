// Showing a recorded game in the window at the pace it was played.
#pragma once

#include <cstdint>
#include <memory>

#include "media/platform.h"
#include "state/game_state.h"

namespace replay {

// The game's clock and keys come from the recording, played as a script by
// `scripted`; its picture and sound go to a real window. Each pass waits
// until as much of the window's time has passed as the recording says. Esc,
// a click or closing the window ends the replay, and a request to quit from
// the system (media::QuitSignalled) the game, at once, during a wait too.
// Rounds before the one to watch run without being shown or waited for.
class ReplaySystem : public media::System {
 public:
  // skipRounds: how many rounds to run through unseen before showing.
  ReplaySystem(media::System& scripted, media::System& window, int skipRounds);
  void SetGame(const state::GameState* game) { game_ = game; }

  std::shared_ptr<media::Root> CreateRoot() override;
  uint32_t GetTickCount() override { return scripted_.GetTickCount(); }
  bool BeginPass() override;
  void DispatchMessages(media::WindowEvents& events) override;

  bool Stopped() const { return stopped_; }

 private:
  bool Showing() const;
  // Reads the window's messages and keys: a click, its close or Esc stops.
  void HearWindow();

  media::System& scripted_;
  media::System& window_;
  std::shared_ptr<media::KeyboardDevice> windowKeys_;  // only for Esc
  const state::GameState* game_ = nullptr;
  int skipRounds_ = 0;
  int roundsStarted_ = 0;
  int16_t lastMode_ = state::kModeTitle;
  bool stopped_ = false;
  bool paced_ = false;  // the window's clock has been set against the script's
  uint32_t windowStart_ = 0;
  uint32_t scriptStart_ = 0;
  std::shared_ptr<bool> showing_ = std::make_shared<bool>(true);
};

}  // namespace replay
