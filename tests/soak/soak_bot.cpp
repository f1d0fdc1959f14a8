// A bot player for the soak test: reads the game each pass and queues key events.
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "soak/soak.h"

namespace soak {

namespace {

// The falling letters a key press could still lock, oldest first.
std::vector<int16_t> UnlockedTargets(const state::GameState& g) {
  std::vector<int16_t> out;
  const auto locks = g.lockQueue.begin() + 8;
  for (int16_t i : LiveSlots(g)) {
    if (g.targets[i].keyCode != 0 && std::find(g.lockQueue.begin(), locks, i) == locks) {
      out.push_back(i);
    }
  }
  return out;
}

}  // namespace

uint64_t BotRandom::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

void SoakBot::Down(media::HeadlessPlatform& platform, int32_t code, int32_t data) {
  if (!platform.QueueKey(code, data)) ++dropped_;
}

void SoakBot::Press(media::HeadlessPlatform& platform, int32_t code) {
  Down(platform, code);
  if (rng_.Chance(0.5)) Down(platform, code, 0);
}

int32_t SoakBot::NextElapsedMs() {
  // Elapsed times and how often each comes, per ten thousand passes.
  static constexpr std::array<std::pair<int32_t, int>, 7> kWeights = {
      {{0, 400}, {1, 600}, {16, 2500}, {33, 2000}, {100, 2000}, {1000, 2475}, {40000, 25}}};
  int pick = rng_.Below(10000);
  for (const auto& [ms, weight] : kWeights) {
    if (pick < weight) return ms;
    pick -= weight;
  }
  return 16;
}

void SoakBot::Act(const state::GameState& g, media::HeadlessPlatform& platform) {
  if (rng_.Chance(0.005)) return Burst(g, platform);
  if (g.gameMode == state::kModePlaying) Play(g, platform);
  if (g.gameMode == state::kModeNameEntry) NameEntry(g, platform);
  if (g.gameMode == state::kModeTitle) {
    if (rng_.Chance(0.1)) Press(platform, WrongCode());
    if (rng_.Chance(0.25)) Press(platform, state::kKeySpace);
    // Two starts in one frame reset twice; the round still begins once.
    if (rng_.Chance(0.02)) Press(platform, state::kKeySpace);
  }
  // A release of any key, Esc included, must do nothing.
  if (rng_.Chance(0.05)) Down(platform, rng_.Between(1, 255), 0);
}

void SoakBot::Play(const state::GameState& g, media::HeadlessPlatform& platform) {
  std::vector<int16_t> open = UnlockedTargets(g);
  int locks = g.lockCount;
  if (!open.empty() && rng_.Chance(0.7)) {
    // Distinct letters, so each press finds a letter of its key still open.
    const int n = std::min<int>(rng_.Between(1, 3), static_cast<int>(open.size()));
    for (int k = 0; k < n; ++k) {
      std::swap(open[k], open[k + rng_.Below(static_cast<int>(open.size()) - k)]);
      Press(platform, g.targets[open[k]].keyCode);
      locks = std::min(locks + 1, 8);
    }
  }
  if (rng_.Chance(0.02)) Press(platform, WrongCode());
  if ((locks > 0 && !g.shotActive && rng_.Chance(0.6)) || rng_.Chance(0.03)) {
    Press(platform, rng_.Chance(0.5) ? state::kKeySpace : state::kKeyEnter);
  }
}

void SoakBot::NameEntry(const state::GameState& g, media::HeadlessPlatform& platform) {
  std::vector<int32_t> typing;
  for (int32_t code = 2; code < static_cast<int32_t>(g.keyChars.size()); ++code) {
    if (!g.keyChars[code].empty()) typing.push_back(code);
  }
  if (!typing.empty() && rng_.Chance(0.5)) {
    // Now and then far more than the ten characters a name may hold.
    const int n = rng_.Chance(0.1) ? rng_.Between(11, 20) : rng_.Between(1, 3);
    for (int k = 0; k < n; ++k) {
      Press(platform, typing[rng_.Below(static_cast<int>(typing.size()))]);
    }
  }
  if (rng_.Chance(0.15)) Press(platform, state::kKeyBackspace);
  if (rng_.Chance(0.05)) Press(platform, WrongCode());
  if (rng_.Chance(0.12)) Press(platform, state::kKeyEnter);
}

// More events than the device holds, so some are dropped.
void SoakBot::Burst(const state::GameState& g, media::HeadlessPlatform& platform) {
  std::vector<int16_t> open = UnlockedTargets(g);
  for (int k = rng_.Between(65, 100); k > 0; --k) {
    const int kind = rng_.Below(3);
    if (kind == 0 && !open.empty()) {
      // Each open letter once, so these stay right keys.
      const int pick = rng_.Below(static_cast<int>(open.size()));
      Down(platform, g.targets[open[pick]].keyCode);
      open.erase(open.begin() + pick);
    } else {
      Down(platform, kind == 1 ? WrongCode() : rng_.Between(1, 255),
           kind == 1 ? media::kKeyDown : 0);
    }
  }
}

}  // namespace soak
