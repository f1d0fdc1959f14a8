// A soak run: the bot plays many rounds in-process, sessions of start-up,
// main loop and shutdown in one game folder, with every pass checked.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "soak/soak_bot.h"

namespace soak {

struct SoakConfig {
  uint64_t seed = 0;
  int64_t rounds = 0;
  int roundsPerSession = 10;
};

struct SoakTotals {
  int64_t sessions = 0;
  int64_t rounds = 0;  // rounds played to their end
  int64_t passes = 0;
  int64_t nameEntries = 0;   // rounds that went on to name entry
  int64_t namesEntered = 0;  // name entries closed with Enter
  int64_t hits = 0;
  int64_t bottomOuts = 0;
  int64_t wrongCues = 0;
  int64_t endCues = 0;
  int64_t headStarts = 0;  // rounds begun at a higher level
  int16_t highestLevel = 0;
  int64_t roundsPastLevel4 = 0;   // drifting words came
  int64_t roundsPastLevel20 = 0;  // no pause between words
  BotStats bot;
};

// The seed of session or round number k of a run.
uint64_t DeriveSeed(uint64_t runSeed, uint64_t k);

class SoakRun {
 public:
  SoakRun(SoakConfig config, std::string gameDir, std::string defaultWords);

  // Plays every round. Returns the first failure, naming the seeds and the
  // pass, or nothing when every check held.
  std::optional<std::string> Run();

  const SoakTotals& Totals() const { return totals_; }

 private:
  struct Saved {
    std::string entryName;
    std::array<int32_t, 10> keys{};
    std::array<std::string, 10> names{};
  };

  std::optional<std::string> PlaySession(int64_t session, int64_t rounds);
  void WriteWords(int64_t session) const;

  SoakConfig config_;
  std::string dir_;
  std::string defaultWords_;
  SoakTotals totals_;
  Saved saved_;  // the ranking the last session wrote
};

}  // namespace soak
