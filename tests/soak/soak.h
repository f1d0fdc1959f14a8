// The soak harness: a bot player, the invariant checker and the run that drives them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/headless/headless.h"
#include "state/game_state.h"

namespace soak {

// splitmix64: a fixed algorithm, so a seed gives the same run everywhere.
class BotRandom {
 public:
  explicit BotRandom(uint64_t seed = 0) : state_(seed) {}
  uint64_t Next();
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < p; }

 private:
  uint64_t state_;
};

class SoakBot {
 public:
  explicit SoakBot(uint64_t seed) : rng_(seed) {}
  void Reseed(uint64_t seed) { rng_ = BotRandom(seed); }
  // Queues this pass's key events for the game as it stands. Never presses
  // Esc: quitting is the driver's decision.
  void Act(const state::GameState& g, media::HeadlessPlatform& platform);
  // The elapsed time of the next pass, from 0 ms to now and then 40 s.
  int32_t NextElapsedMs();
  int64_t Dropped() const { return dropped_; }  // events the full device refused

 private:
  void Down(media::HeadlessPlatform& platform, int32_t code, int32_t data = media::kKeyDown);
  void Press(media::HeadlessPlatform& platform, int32_t code);
  int32_t WrongCode() { return rng_.Between(2, 255); }  // any key but Esc
  void Play(const state::GameState& g, media::HeadlessPlatform& platform);
  void NameEntry(const state::GameState& g, media::HeadlessPlatform& platform);
  void Burst(const state::GameState& g, media::HeadlessPlatform& platform);

  BotRandom rng_;
  int64_t dropped_ = 0;
};

// Every rule that g breaks, one line each; empty when it is sound. modeBefore
// is the mode the pass started in: names are cut only by a name-entry frame.
std::vector<std::string> CheckInvariants(const state::GameState& g, int16_t modeBefore);
// The live part of the target ring, oldest first.
std::vector<int16_t> LiveSlots(const state::GameState& g);
// A one-line picture of the fields the invariants are about, for failure reports.
std::string DescribeState(const state::GameState& g);

struct SoakConfig {
  uint64_t seed = 0;
  int64_t rounds = 0;
  int64_t roundsPerSession = 10;
};

struct SoakTotals {
  int64_t rounds = 0;  // rounds played to their end
  int64_t passes = 0;
  int64_t hits = 0;
  int64_t bottomOuts = 0;
  int64_t wrongCues = 0;
  int64_t endCues = 0;
  int64_t nameEntries = 0;   // rounds that went on to name entry
  int64_t namesEntered = 0;  // name entries closed with Enter
  int64_t dropped = 0;       // bot key events the full device refused
  int16_t highestLevel = 0;
  std::string lastRanking;  // the bytes of the last ranking file written
};

// Plays the rounds in sessions of start-up, main loop and shutdown in the
// game folder dir. Returns the first failure, naming the seed and the pass.
std::optional<std::string> RunSoak(const SoakConfig& config, const std::string& dir,
                                   const std::string& words, SoakTotals& totals);

}  // namespace soak
