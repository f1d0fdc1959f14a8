// A started-up game on the headless platform, driven pass by pass, for the benchmarks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "media/headless/headless.h"
#include "media/platform.h"
#include "state/game_state.h"

namespace bench {

// A scratch game folder with the default background and word list, removed
// at the end.
class GameFolder {
 public:
  GameFolder();
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  // The folder as the game takes it, ending in a separator.
  std::string MyPath() const;

 private:
  std::string path_;
};

// The machine around the game: the headless platform and its virtual clock.
// The benchmarks run the main loop's body themselves, so no pass comes
// through BeginPass.
class BenchSystem : public media::System {
 public:
  std::shared_ptr<media::Root> CreateRoot() override { return platform_.CreateRoot(); }
  uint32_t GetTickCount() override { return platform_.Tick(); }
  bool BeginPass() override { return false; }
  void DispatchMessages(media::WindowEvents&) override {}

  media::HeadlessPlatform& Platform() { return platform_; }

 private:
  media::HeadlessPlatform platform_;
};

class HeadlessGame {
 public:
  // Runs start-up in the folder; the tick count then seeds the game.
  HeadlessGame(const GameFolder& folder, uint32_t startTick);

  state::GameState& State() { return *g_; }
  media::HeadlessPlatform& Platform() { return system_.Platform(); }

  // One pass of the main loop's body: the clock moves on, the frame log of
  // the last pass is dropped, one frame is played.
  void Pass(int32_t elapsedMs);
  void Press(int32_t keyCode);

  // From the title screen: Space, one whole round in passes of passMs with
  // every falling letter typed and the shot fired whenever it can be, then
  // the name entry closed with Enter. Returns the passes played.
  int64_t PlayRound(int32_t passMs);

  // Mid-round with a full field: 30 letters on the screen, 8 locks, the shot
  // in flight, 8 pop-ups showing. Nothing is hit or spawned in the next pass.
  void FillField();

  // Writes the ranking file and releases the devices.
  void ShutDown();

 private:
  BenchSystem system_;
  std::unique_ptr<state::GameState> g_;
  std::string myPath_;
};

// The play fields of a game, copied out and back, so that a benchmark can
// replay the same frame again and again.
struct PlaySnapshot {
  explicit PlaySnapshot(const state::GameState& g);
  void RestoreInto(state::GameState& g) const;

  int16_t gameMode, level, maxLevel, combo, hitCount;
  int32_t score, roundTime;
  std::array<state::Target, 101> targets;
  int16_t ringHead, ringTail;
  std::array<int16_t, 9> lockQueue;
  int16_t lockTail, lockHead, lockCount;
  bool shotActive;
  std::array<state::TrailPoint, 11> shotTrail;
  std::array<state::Popup, 9> popups;
  state::Pacing pacing;
};

}  // namespace bench
