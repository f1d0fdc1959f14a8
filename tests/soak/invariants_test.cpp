// The soak's invariant checker: it passes a sound state and names each broken rule.
#include "soak/invariants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

// Mid-round: three letters falling, the two oldest locked, the lock ring
// wrapping from slot 7 to slot 0, a pop-up showing.
core::GameState SoundState() {
  core::GameState g;
  g.gameMode = core::kModePlaying;
  g.level = 4;
  g.maxLevel = 5;
  g.combo = 2;
  g.score = 40;
  g.roundTime = 5000;
  g.ringHead = 98;
  g.ringTail = 2;
  for (int i : {98, 99, 1}) {
    g.targets[i].keyCode = 30;
    g.targets[i].x = 150.0 + i;
    g.targets[i].y = 20.0;
  }
  g.lockQueue[7] = 98;
  g.lockQueue[0] = 99;
  g.lockHead = 7;
  g.lockCount = 2;
  g.lockTail = 1;
  g.popups[3].timeLeft = 120;
  g.rankKeys = {900, 800, 800, 5, 0, 0, 0, 0, 0, -3};
  g.entryName = "ABCDEFGHIJ";
  return g;
}

bool Mentions(const std::vector<std::string>& broken, const std::string& word) {
  for (const std::string& b : broken) {
    if (b.find(word) != std::string::npos) return true;
  }
  return false;
}

TEST(Invariants, SoundStateHasNoComplaint) {
  const core::GameState g = SoundState();
  EXPECT_TRUE(soak::CheckInvariants(g, core::kModePlaying).empty());
  EXPECT_TRUE(soak::CheckInvariants(g, core::kModeNameEntry).empty());
}

TEST(Invariants, EachBrokenRuleIsNamed) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::function<void(core::GameState&)> breakIt;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"mode 3", [](core::GameState& g) { g.gameMode = 3; }, "gameMode"},
      {"ring head 0", [](core::GameState& g) { g.ringHead = 0; }, "ringHead"},
      {"ring tail 100", [](core::GameState& g) { g.ringTail = 100; }, "ringTail"},
      {"lock head 8", [](core::GameState& g) { g.lockHead = 8; }, "lockHead"},
      {"lock tail -1", [](core::GameState& g) { g.lockTail = -1; }, "lockTail"},
      {"lock count 9", [](core::GameState& g) { g.lockCount = 9; }, "lockCount"},
      {"count too high", [](core::GameState& g) { g.lockCount = 3; }, "slots hold a lock"},
      {"lock outside the run",
       [](core::GameState& g) {
         g.lockQueue[0] = 0;
         g.lockQueue[4] = 99;
       },
       "lock slot 4"},
      {"tail not after newest", [](core::GameState& g) { g.lockTail = 3; }, "lockTail"},
      {"slot 8 used", [](core::GameState& g) { g.lockQueue[8] = 1; }, "slot 8"},
      {"locked twice", [](core::GameState& g) { g.lockQueue[0] = 98; }, "locked twice"},
      {"lock of slot 100", [](core::GameState& g) { g.lockQueue[0] = 100; }, "outside 1..99"},
      {"lock of a gone letter", [](core::GameState& g) { g.targets[99].keyCode = 0; }, "no letter"},
      {"level -1", [](core::GameState& g) { g.level = -1; }, "below 0"},
      {"maxLevel below level", [](core::GameState& g) { g.level = 6; }, "maxLevel"},
      {"unordered ranking", [](core::GameState& g) { g.rankKeys[4] = 6; }, "rankKeys[3]"},
      {"popup below 0", [](core::GameState& g) { g.popups[3].timeLeft = -4; }, "pop-up 3"},
      {"NaN letter", [nan](core::GameState& g) { g.targets[1].y = nan; }, "target 1"},
      {"infinite trail", [](core::GameState& g) { g.shotTrail[4].x = INFINITY; }, "trail point 4"},
      {"NaN step", [nan](core::GameState& g) { g.pacing.shotStepY = nan; }, "shot step"},
      {"letter outside the ring", [](core::GameState& g) { g.targets[50].keyCode = 18; },
       "outside the live range"},
      {"letter past the wall", [](core::GameState& g) { g.targets[1].x = 490.5; }, "walls"},
      {"round clock past the end", [](core::GameState& g) { g.roundTime = 120001; }, "roundTime"},
      {"combo above maxLevel", [](core::GameState& g) { g.combo = 6; }, "combo"},
  };
  for (const Case& c : cases) {
    core::GameState g = SoundState();
    c.breakIt(g);
    const auto broken = soak::CheckInvariants(g, core::kModePlaying);
    EXPECT_TRUE(Mentions(broken, c.expected))
        << c.name << ": expected a complaint about " << c.expected;
  }
}

TEST(Invariants, LongNameOnlyCountsAfterANameEntryFrame) {
  core::GameState g = SoundState();
  // A name read from the ranking file may be longer until name entry cuts it.
  g.entryName = "ABCDEFGHIJK";
  EXPECT_TRUE(soak::CheckInvariants(g, core::kModeTitle).empty());
  EXPECT_TRUE(Mentions(soak::CheckInvariants(g, core::kModeNameEntry), "entryName"));
}

TEST(Invariants, LiveSlotsWrapFrom99To1) {
  core::GameState g;
  g.ringHead = 97;
  g.ringTail = 3;
  EXPECT_EQ(soak::LiveSlots(g), (std::vector<int16_t>{97, 98, 99, 1, 2}));
  g.ringTail = 97;
  EXPECT_TRUE(soak::LiveSlots(g).empty());
  g.ringHead = 0;  // broken: no endless walk
  EXPECT_TRUE(soak::LiveSlots(g).empty());
}

}  // namespace
