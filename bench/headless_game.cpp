// A started-up game on the headless platform, driven pass by pass, for the benchmarks.
#include "headless_game.h"

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "game/frame_tick.h"
#include "game/lifecycle.h"
#include "game/title.h"

namespace bench {

namespace fs = std::filesystem;

namespace {

// A round never takes more passes than this, even at 1 ms a pass.
constexpr int64_t kPassLimit = 200000;

// The key codes of the letters A to Z.
constexpr std::array<int16_t, 26> kLetterCodes = {30, 48, 46, 32, 18, 33, 34, 35, 23,
                                                  36, 37, 38, 50, 49, 24, 25, 16, 19,
                                                  31, 20, 22, 47, 17, 45, 21, 44};

// Falling letters a key could still lock, oldest first.
std::vector<int16_t> OpenLetters(const state::GameState& g) {
  std::vector<int16_t> open;
  for (int i = g.ringHead; i != g.ringTail; i = i == 99 ? 1 : i + 1) {
    if (g.targets[i].keyCode == 0) continue;
    if (std::find(g.lockQueue.begin(), g.lockQueue.begin() + 8, i) == g.lockQueue.begin() + 8) {
      open.push_back(static_cast<int16_t>(i));
    }
  }
  return open;
}

}  // namespace

GameFolder::GameFolder() {
  std::string tmpl = (fs::temp_directory_path() / "rapiko-bench-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a scratch game folder");
  path_ = tmpl;
  const fs::path assets(RAPIKO_ASSETS_DIR);
  fs::copy_file(assets / "back.bmp", fs::path(path_) / "back.bmp");
  fs::copy_file(assets / "rapdata.ini", fs::path(path_) / "rapdata.ini");
}

GameFolder::~GameFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string GameFolder::MyPath() const { return game::MyPath(path_); }

HeadlessGame::HeadlessGame(const GameFolder& folder, uint32_t startTick)
    : g_(std::make_unique<state::GameState>()), myPath_(folder.MyPath()) {
  system_.Platform().SetTick(startTick);
  game::StartUp(*g_, system_, myPath_);
}

void HeadlessGame::Pass(int32_t elapsedMs) {
  media::HeadlessPlatform& platform = system_.Platform();
  platform.Advance(static_cast<uint32_t>(elapsedMs));
  platform.ClearFrame();
  game::FrameTick(*g_, elapsedMs);
  platform.TakeSoundLog();
}

void HeadlessGame::Press(int32_t keyCode) {
  system_.Platform().QueueKey(keyCode, media::kKeyDown);
  system_.Platform().QueueKey(keyCode, 0);
}

int64_t HeadlessGame::PlayRound(int32_t passMs) {
  state::GameState& g = *g_;
  int64_t passes = 0;
  Press(state::kKeySpace);
  while (g.gameMode != state::kModePlaying && passes < kPassLimit) {
    Pass(passMs);
    ++passes;
  }
  while (g.gameMode == state::kModePlaying && passes < kPassLimit) {
    const std::vector<int16_t> open = OpenLetters(g);
    const size_t free = static_cast<size_t>(8 - g.lockCount);
    for (size_t k = 0; k < std::min(free, open.size()); ++k) Press(g.targets[open[k]].keyCode);
    if ((g.lockCount > 0 || !open.empty()) && !g.shotActive) Press(state::kKeySpace);
    Pass(passMs);
    ++passes;
  }
  if (g.gameMode == state::kModeNameEntry) {
    Press(state::kKeyEnter);
    while (g.gameMode != state::kModeTitle && passes < kPassLimit) {
      Pass(passMs);
      ++passes;
    }
  }
  return passes;
}

void HeadlessGame::FillField() {
  state::GameState& g = *g_;
  game::ResetRound(g);
  g.gameMode = state::kModePlaying;
  g.level = 10;
  g.maxLevel = 10;
  g.roundTime = 60000;
  g.score = 1234;
  g.combo = 4;
  // 30 letters between y 12 and 360, every fifth drifting.
  g.ringHead = 1;
  g.ringTail = 31;
  for (int i = 1; i <= 30; ++i) {
    state::Target& t = g.targets[i];
    t.keyCode = kLetterCodes[static_cast<size_t>(i) % kLetterCodes.size()];
    t.x = 100.0 + (i * 53) % 390;
    t.y = 12.0 * i + 0.3;
    t.vx = i % 5 == 0 ? -150.0 : 0.0;
  }
  // The eight oldest are locked; the shot rises far below them.
  for (int slot = 0; slot < 8; ++slot) g.lockQueue[slot] = static_cast<int16_t>(slot + 1);
  g.lockHead = 0;
  g.lockTail = 0;
  g.lockCount = 8;
  g.shotActive = true;
  for (int i = 0; i <= 5; ++i) g.shotTrail[i] = {320.0, 400.0 + 10 * i};
  for (int k = 0; k < 8; ++k) {
    g.popups[k].x = 120.0 + 45 * k;
    g.popups[k].y = 380.0;
    g.popups[k].timeLeft = 250;
    g.popups[k].points = static_cast<int16_t>(k + 1);
  }
  g.pacing.spawnClock = 0;
}

void HeadlessGame::ShutDown() { game::ShutDown(*g_, system_, myPath_); }

PlaySnapshot::PlaySnapshot(const state::GameState& g)
    : gameMode(g.gameMode),
      level(g.level),
      maxLevel(g.maxLevel),
      combo(g.combo),
      hitCount(g.hitCount),
      score(g.score),
      roundTime(g.roundTime),
      targets(g.targets),
      ringHead(g.ringHead),
      ringTail(g.ringTail),
      lockQueue(g.lockQueue),
      lockTail(g.lockTail),
      lockHead(g.lockHead),
      lockCount(g.lockCount),
      shotActive(g.shotActive),
      shotTrail(g.shotTrail),
      popups(g.popups),
      pacing(g.pacing) {}

void PlaySnapshot::RestoreInto(state::GameState& g) const {
  g.gameMode = gameMode;
  g.level = level;
  g.maxLevel = maxLevel;
  g.combo = combo;
  g.hitCount = hitCount;
  g.score = score;
  g.roundTime = roundTime;
  g.targets = targets;
  g.ringHead = ringHead;
  g.ringTail = ringTail;
  g.lockQueue = lockQueue;
  g.lockTail = lockTail;
  g.lockHead = lockHead;
  g.lockCount = lockCount;
  g.shotActive = shotActive;
  g.shotTrail = shotTrail;
  g.popups = popups;
  g.pacing = pacing;
}

}  // namespace bench
