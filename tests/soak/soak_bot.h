// A bot player for the soak test: reads the game each pass and queues key events.
#pragma once

#include <cstdint>
#include <vector>

#include "core/game_state.h"
#include "media/headless.h"

namespace soak {

// splitmix64: a fixed algorithm, so a seed gives the same run everywhere.
class BotRandom {
 public:
  explicit BotRandom(uint64_t seed = 0) : state_(seed) {}
  uint64_t Next();
  // Uniform in 0..n-1 (n > 0).
  int Below(int n);
  // Uniform in lo..hi inclusive.
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(double p);

 private:
  uint64_t state_;
};

// What the bot has done, for the summary and for checking that the soak
// reached the situations it is meant to.
struct BotStats {
  int64_t rightKeys = 0;
  int64_t wrongKeys = 0;
  int64_t fires = 0;
  int64_t releases = 0;
  int64_t bursts = 0;
  int64_t dropped = 0;  // events the full device refused
  int64_t nameKeys = 0;
};

// How a round is played. Jumpy rounds take long passes, so a 120-second
// round costs a few hundred passes; steady ones pass 16 or 33 ms like a real
// display and type with few mistakes, so the level climbs as it would for a
// good player.
enum class PlayStyle { Jumpy, Steady };

class SoakBot {
 public:
  explicit SoakBot(uint64_t seed) : rng_(seed) {}
  // A new round: a fresh seed and a style.
  void StartRound(uint64_t seed, PlayStyle style) {
    rng_ = BotRandom(seed);
    style_ = style;
  }

  // Queues this pass's key events for the game as it stands. Never presses
  // Esc: quitting is the driver's decision.
  void Act(const core::GameState& g, media::HeadlessPlatform& platform);
  // The elapsed time of the next pass: 0, 1, 16, 33, 100, 1000 ms, and in
  // jumpy rounds now and then 40000 ms.
  int32_t NextElapsedMs();

  const BotStats& Stats() const { return stats_; }

 private:
  void Down(media::HeadlessPlatform& platform, int32_t code);
  void Up(media::HeadlessPlatform& platform, int32_t code);
  void Press(media::HeadlessPlatform& platform, int32_t code);
  int32_t WrongCode();
  void Play(const core::GameState& g, media::HeadlessPlatform& platform);
  void Title(media::HeadlessPlatform& platform);
  void NameEntry(const core::GameState& g, media::HeadlessPlatform& platform);
  void Burst(const core::GameState& g, media::HeadlessPlatform& platform);

  BotRandom rng_;
  PlayStyle style_ = PlayStyle::Jumpy;
  BotStats stats_;
};

// The falling letters that a key press could still lock: in the live range,
// holding a letter, not in the lock queue; oldest first.
std::vector<int16_t> UnlockedTargets(const core::GameState& g);

}  // namespace soak
