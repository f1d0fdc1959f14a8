// Showing a recorded game in the window at the pace it was played.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "media/platform.h"
#include "script/scripted_system.h"
#include "state/game_state.h"

namespace script {

// The game's clock and keys come from the script; its picture and sound go
// to a real window. Each pass waits until as much real time has passed as
// the recording says. Esc, a click or closing the window ends the replay.
// Rounds before the one to watch run without being shown or waited for.
class ReplaySystem : public media::System {
 public:
  // skipRounds: how many rounds to run through unseen before showing.
  ReplaySystem(ScriptedSystem& scripted, media::System& window, int skipRounds);
  void SetGame(const state::GameState* game);

  std::shared_ptr<media::Root> CreateRoot() override;
  uint32_t GetTickCount() override { return scripted_.GetTickCount(); }
  bool BeginPass() override;
  void DispatchMessages(media::WindowEvents& events) override;

  bool Stopped() const { return stopped_; }

 private:
  bool Showing() const;

  ScriptedSystem& scripted_;
  media::System& window_;
  std::shared_ptr<media::KeyboardDevice> windowKeys_;  // only for Esc
  const state::GameState* game_ = nullptr;
  int skipRounds_ = 0;
  int roundsStarted_ = 0;
  int16_t lastMode_ = state::kModeTitle;
  bool stopped_ = false;
  bool paced_ = false;  // the real clock has been set against the script's
  std::chrono::steady_clock::time_point realStart_;
  uint32_t scriptStart_ = 0;
  std::shared_ptr<bool> showing_ = std::make_shared<bool>(true);
};

// Shows the recording at path in the window of `window`, in a scratch copy
// of the game folder myPath (the word list and ranking the recording
// carries, if any, in place of the folder's), so that nothing is saved.
// Returns the exit status: 0 done or stopped, 1 start-up failed, 2 the
// recording cannot be read or has an error. Error lines go to err.
int RunReplay(const std::string& path, const std::string& myPath, media::System& window,
              std::ostream& err);

// The number of rounds a recording asks to skip: a line "# replay from
// round N" makes it N - 1; without one, 0.
int RoundsToSkip(const std::string& scriptText);

}  // namespace script
