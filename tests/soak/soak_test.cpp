// The soak: a bot plays RAPIKO_SOAK_ROUNDS rounds (200 by default) in-process
// with every invariant checked after every pass; and checks of the soak itself.
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

TEST(Soak, SameSeedPlaysTheSameGame) {
  soak::SoakTotals t[2];
  for (soak::SoakTotals& totals : t) {
    testing_support::GameDir dir("");
    const auto failure = soak::RunSoak({77, 3, 2}, dir.Path(), DefaultWords(), totals);
    ASSERT_FALSE(failure) << *failure;
  }
  EXPECT_GT(t[0].hits, 0);
  EXPECT_EQ(t[1].passes, t[0].passes);
  EXPECT_EQ(t[1].hits, t[0].hits);
  EXPECT_EQ(t[1].dropped, t[0].dropped);
  EXPECT_EQ(t[1].lastRanking, t[0].lastRanking);
}

// Mid-round: three letters falling, the two oldest locked, the lock ring
// wrapping from slot 7 to slot 0.
state::GameState SoundState() {
  state::GameState g;
  g.gameMode = state::kModePlaying;
  g.level = 4;
  g.maxLevel = 5;
  g.roundTime = 5000;
  g.ringHead = 98;
  g.ringTail = 2;
  for (int i : {98, 99, 1}) {
    g.targets[i].keyCode = 30;
    g.targets[i].x = 150.0 + i;
  }
  g.lockQueue[7] = 98;
  g.lockQueue[0] = 99;
  g.lockHead = 7;
  g.lockCount = 2;
  g.lockTail = 1;
  g.rankKeys = {900, 800, 800, 5, 0, 0, 0, 0, 0, -3};
  return g;
}

TEST(Soak, CheckerNamesEachBrokenRule) {
  EXPECT_TRUE(soak::CheckInvariants(SoundState(), state::kModeNameEntry).empty());
  const struct {
    const char* expected;
    std::function<void(state::GameState&)> breakIt;
  } cases[] = {
      {"gameMode", [](state::GameState& g) { g.gameMode = 3; }},
      {"ringTail", [](state::GameState& g) { g.ringTail = 100; }},
      {"lock slot 4", [](state::GameState& g) { std::swap(g.lockQueue[0], g.lockQueue[4]); }},
      {"locked twice", [](state::GameState& g) { g.lockQueue[0] = 98; }},
      {"maxLevel", [](state::GameState& g) { g.level = 6; }},
      {"rankKeys[3]", [](state::GameState& g) { g.rankKeys[4] = 6; }},
      {"target 1 is not", [](state::GameState& g) { g.targets[1].y = NAN; }},
      {"live range", [](state::GameState& g) { g.targets[50].keyCode = 18; }},
      {"walls", [](state::GameState& g) { g.targets[1].x = 490.5; }},
      {"roundTime", [](state::GameState& g) { g.roundTime = 120001; }},
      {"entryName", [](state::GameState& g) { g.entryName = "ABCDEFGHIJK"; }},
  };
  for (const auto& c : cases) {
    state::GameState g = SoundState();
    c.breakIt(g);
    std::string all;
    for (const std::string& line : soak::CheckInvariants(g, state::kModeNameEntry)) all += line;
    EXPECT_NE(all.find(c.expected), std::string::npos) << c.expected << " in: " << all;
  }
  // A long name from the ranking file is fine until name entry cuts it.
  state::GameState g = SoundState();
  g.entryName = "ABCDEFGHIJK";
  EXPECT_TRUE(soak::CheckInvariants(g, state::kModeTitle).empty());
}

}  // namespace
