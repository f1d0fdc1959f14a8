// Play-field rules at edges the recorded games do not reach: contact distances
// to the pixel, a full ring, play without words, the last word of a full table.
#include <gtest/gtest.h>

#include <tuple>

#include "playfield/shot.h"
#include "playfield/targets.h"
#include "support/fakes.h"

namespace {

using playfield::UpdateShot;
using playfield::UpdateTargets;
using testing_support::Rig;

constexpr auto CodeOf = Rig::CodeOf;

TEST(ShotHit, ContactIsStrictlyCloserThanTenAndFifteen) {
  for (auto [x, y, hit] :
       {std::tuple{309.9, 214.9, 1}, {290.1, 185.1, 1}, {310.0, 200.0, 0}, {300.0, 215.0, 0}}) {
    Rig r;
    r.g.shotActive = true;
    for (auto& p : r.g.shotTrail) p = {300.0, 200.0};
    r.g.targets[4] = {x, y, 0.0, CodeOf('A')};
    r.g.lockQueue[0] = 4;
    r.g.lockTail = 1;
    r.g.lockCount = 1;
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.targets[4].keyCode, hit ? 0 : CodeOf('A')) << x << "," << y;
    EXPECT_EQ(r.g.lockCount, hit ? 0 : 1) << x << "," << y;
  }
}

TEST(ShotHit, AShotWithNothingLockedFliesOnUntilItIsPastTheRightEdge) {
  for (auto [x, flying] : {std::pair{640.0, true}, {640.5, false}}) {
    Rig r;
    r.g.shotActive = true;
    for (auto& p : r.g.shotTrail) p = {x, 200.0};
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.shotActive, flying) << x;
  }
}

TEST(Ring, AFullRingWaitsThenASpawnInto99WrapsAndDrawsNewestToOldest) {
  Rig r;
  r.LoadWords({"ABCDEFGHIJ"});
  for (int i = 1; i <= 99; ++i) r.g.targets[i] = {i + 100.0, 100.0, 0.0, CodeOf('Z')};
  r.g.ringTail = 99;  // 98 letters live: the ring is full
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.ringTail, r.g.targets[99].keyCode), std::tuple(99, CodeOf('Z')));
  r.g.ringHead = 2;  // the oldest letter was hit: the waiting letter comes at once
  UpdateTargets(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.ringTail, r.g.targets[99].keyCode), std::tuple(1, CodeOf('A')));
  r.blits.clear();
  r.g.targets[99].x = 199;
  UpdateTargets(r.g, 16);
  ASSERT_EQ(r.blits.size(), 98u);  // 99 down to 2, and nothing from 0 down
  for (int k = 0; k < 98; ++k) EXPECT_EQ(r.blits[k], 199 - k);
}

TEST(SpawnIdle, NoWordsNothingSpawnsYetEverySlotIsTestedForTheBottom) {
  Rig r;
  r.g.ringHead = r.g.ringTail = 40;  // empty range
  r.g.targets[99] = {200.0, 450.0, 0.0, CodeOf('A')};
  for (int i = 0; i < 2000; ++i) UpdateTargets(r.g, 16);
  EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});
  EXPECT_TRUE(r.blits.empty());
  EXPECT_EQ(std::tuple(r.g.ringTail, r.g.pacing.letterPos), std::tuple(1, 0));
}

TEST(SpawnIdle, WordOneHundredEndsInsideTheTable) {
  Rig r;
  std::vector<std::string> words(99, "AB");
  words.push_back("XYZ");
  r.LoadWords(words);
  for (int16_t end : {r.g.letterCount, int16_t{0}}) {  // 0: the second clause alone decides
    r.g.wordStart[101] = end;
    r.g.pacing = {.spawnClock = 400, .letterPos = 2, .wordIndex = 100};
    UpdateTargets(r.g, 0);
    EXPECT_EQ(r.g.targets[r.g.ringTail - 1].keyCode, CodeOf('Z'));
    EXPECT_EQ(r.g.pacing.spawnClock, -1020);
  }
}

}  // namespace
