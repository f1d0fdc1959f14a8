// A bot player for the soak test: reads the game each pass and queues key events.
#include "soak/soak_bot.h"

#include <algorithm>
#include <array>
#include <utility>

#include "soak/invariants.h"

namespace soak {

namespace {

constexpr int32_t kKeyUp = 0;

// Elapsed times of a pass and how often each comes, per ten thousand passes.
using Weights = std::array<std::pair<int32_t, int>, 7>;
constexpr Weights kJumpyElapsed = {
    {{0, 400}, {1, 600}, {16, 2500}, {33, 2000}, {100, 2000}, {1000, 2475}, {40000, 25}}};
constexpr Weights kSteadyElapsed = {
    {{0, 100}, {1, 100}, {16, 4000}, {33, 5700}, {100, 90}, {1000, 10}, {40000, 0}}};

}  // namespace

uint64_t BotRandom::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

int BotRandom::Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

bool BotRandom::Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < p; }

std::vector<int16_t> UnlockedTargets(const core::GameState& g) {
  std::vector<int16_t> out;
  for (int16_t i : LiveSlots(g)) {
    if (g.targets[i].keyCode == 0) continue;
    const bool locked =
        std::find(g.lockQueue.begin(), g.lockQueue.begin() + 8, i) != g.lockQueue.begin() + 8;
    if (!locked) out.push_back(i);
  }
  return out;
}

void SoakBot::Down(media::HeadlessPlatform& platform, int32_t code) {
  if (!platform.QueueKey(code, core::kKeyDown)) ++stats_.dropped;
}

void SoakBot::Up(media::HeadlessPlatform& platform, int32_t code) {
  ++stats_.releases;
  if (!platform.QueueKey(code, kKeyUp)) ++stats_.dropped;
}

void SoakBot::Press(media::HeadlessPlatform& platform, int32_t code) {
  Down(platform, code);
  if (rng_.Chance(0.5)) Up(platform, code);
}

// Any key but Esc, which would quit.
int32_t SoakBot::WrongCode() { return rng_.Between(2, 255); }

int32_t SoakBot::NextElapsedMs() {
  const Weights& weights = style_ == PlayStyle::Steady ? kSteadyElapsed : kJumpyElapsed;
  int pick = rng_.Below(10000);
  for (const auto& [ms, weight] : weights) {
    if (pick < weight) return ms;
    pick -= weight;
  }
  return 16;
}

void SoakBot::Act(const core::GameState& g, media::HeadlessPlatform& platform) {
  if (style_ == PlayStyle::Jumpy && rng_.Chance(0.005)) {
    Burst(g, platform);
    return;
  }
  switch (g.gameMode) {
    case core::kModeTitle:
      Title(platform);
      break;
    case core::kModePlaying:
      Play(g, platform);
      break;
    case core::kModeNameEntry:
      NameEntry(g, platform);
      break;
    default:
      break;
  }
  // A release of any key, Esc included, must do nothing.
  if (rng_.Chance(0.05)) Up(platform, rng_.Between(1, 255));
}

void SoakBot::Play(const core::GameState& g, media::HeadlessPlatform& platform) {
  std::vector<int16_t> open = UnlockedTargets(g);
  int locks = g.lockCount;
  if (!open.empty() && rng_.Chance(0.7)) {
    // Distinct letters, so each press finds a letter of its key still open.
    const int n = std::min<int>(rng_.Between(1, 3), static_cast<int>(open.size()));
    for (int k = 0; k < n; ++k) {
      std::swap(open[k], open[k + rng_.Below(static_cast<int>(open.size()) - k)]);
      Press(platform, g.targets[open[k]].keyCode);
      ++stats_.rightKeys;
      locks = std::min(locks + 1, 8);
    }
  }
  if (rng_.Chance(style_ == PlayStyle::Steady ? 0.0005 : 0.02)) {
    Press(platform, WrongCode());
    ++stats_.wrongKeys;
  }
  const bool canFire = locks > 0 && !g.shotActive;
  if ((canFire && rng_.Chance(0.6)) || rng_.Chance(0.03)) {
    Press(platform, rng_.Chance(0.5) ? core::kKeySpace : core::kKeyEnter);
    ++stats_.fires;
  }
}

void SoakBot::Title(media::HeadlessPlatform& platform) {
  if (rng_.Chance(0.1)) Press(platform, WrongCode());
  if (rng_.Chance(0.25)) Press(platform, core::kKeySpace);
  // Two starts in one frame reset twice; the round still begins once.
  if (rng_.Chance(0.02)) Press(platform, core::kKeySpace);
}

void SoakBot::NameEntry(const core::GameState& g, media::HeadlessPlatform& platform) {
  std::vector<int32_t> typing;
  for (int32_t code = 2; code < static_cast<int32_t>(g.keyChars.size()); ++code) {
    if (!g.keyChars[code].empty()) typing.push_back(code);
  }
  if (typing.empty()) typing.push_back(core::kKeySpace);
  if (rng_.Chance(0.5)) {
    // Now and then far more than the ten characters a name may hold.
    const int n = rng_.Chance(0.1) ? rng_.Between(11, 20) : rng_.Between(1, 3);
    for (int k = 0; k < n; ++k)
      Press(platform, typing[rng_.Below(static_cast<int>(typing.size()))]);
    stats_.nameKeys += n;
  }
  if (rng_.Chance(0.15)) Press(platform, core::kKeyBackspace);
  if (rng_.Chance(0.05)) Press(platform, WrongCode());
  if (rng_.Chance(0.12)) Press(platform, core::kKeyEnter);
}

void SoakBot::Burst(const core::GameState& g, media::HeadlessPlatform& platform) {
  // More than the device holds, so some are dropped.
  ++stats_.bursts;
  std::vector<int16_t> open = UnlockedTargets(g);
  const int n = rng_.Between(65, 100);
  for (int k = 0; k < n; ++k) {
    int kind = rng_.Below(10);
    if (kind < 4 && open.empty()) kind = 9;
    if (kind < 4) {
      // Each open letter once, so these stay right keys.
      const int pick = rng_.Below(static_cast<int>(open.size()));
      Down(platform, g.targets[open[pick]].keyCode);
      open.erase(open.begin() + pick);
      ++stats_.rightKeys;
    } else if (kind < 6) {
      Down(platform, WrongCode());
      ++stats_.wrongKeys;
    } else if (kind < 7) {
      Down(platform, rng_.Chance(0.5) ? core::kKeySpace : core::kKeyEnter);
      ++stats_.fires;
    } else {
      Up(platform, rng_.Between(1, 255));
    }
  }
}

}  // namespace soak
