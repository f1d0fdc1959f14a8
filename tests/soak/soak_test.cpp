// The soak: a bot plays RAPIKO_SOAK_ROUNDS rounds (200 by default) in-process
// with every invariant checked after every pass.
#include "soak/soak.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <utility>

#include "support/script_run.h"

namespace {

// A whole number from the environment, or the fallback when it is unset.
uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

std::string DefaultWords() {
  return testing_support::ReadFileBytes(std::string(RAPIKO_ASSETS_DIR) + "/rapdata.ini");
}

TEST(Soak, BotPlaysRoundsWithEveryInvariantHolding) {
  const uint64_t rounds = EnvNumber("RAPIKO_SOAK_ROUNDS", 200);
  const uint64_t seed = EnvNumber("RAPIKO_SOAK_SEED", 20240611);
  ASSERT_GT(rounds, 0u) << "RAPIKO_SOAK_ROUNDS must be a whole number above 0";
  testing_support::GameDir dir("");
  soak::SoakTotals t;
  const auto failure =
      soak::RunSoak({seed, static_cast<int64_t>(rounds), 10}, dir.Path(), DefaultWords(), t);
  std::cout << "soak: seed " << seed << ", " << t.rounds << " rounds, " << t.passes << " passes, "
            << t.hits << " hits, " << t.bottomOuts << " bottom-outs, " << t.wrongCues
            << " wrong-key cues, " << t.nameEntries << " name entries (" << t.namesEntered
            << " closed), highest level " << t.highestLevel << ", " << t.dropped
            << " keys dropped\n";
  ASSERT_FALSE(failure) << *failure;
  EXPECT_EQ(t.rounds, static_cast<int64_t>(rounds));
  if (rounds >= 50) {
    // A soak that never met these would prove little.
    EXPECT_GT(t.hits, 0);
    EXPECT_GT(t.bottomOuts, 0);
    EXPECT_GT(t.wrongCues, 0);
    EXPECT_GT(t.namesEntered, 0);
    EXPECT_LT(t.nameEntries, t.rounds) << "no round ended below the tenth place";
    EXPECT_GT(t.dropped, 0);
    EXPECT_GT(t.highestLevel, 20);
  }
}

}  // namespace
