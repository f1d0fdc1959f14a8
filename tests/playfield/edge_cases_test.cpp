// Play-field rules at edges the recorded games do not reach: contact distances
// to the pixel, a full ring, play without words, the last word of a full table
// (what a fall-out counts against each key: the golden game stats_fall_out).
#include <gtest/gtest.h>

#include "playfield/markers.h"
#include "playfield/shot.h"
#include "playfield/targets.h"
#include "support/case_file.h"
#include "support/fakes.h"

namespace {

using playfield::UpdateShot;
using playfield::UpdateTargets;
using testing_support::Rig;

constexpr auto CodeOf = Rig::CodeOf;

// One step of a flying shot (the cases: flights.txt).
TEST(Shot, EachFlightOfTheFile) {
  const auto rows = testing_support::CaseRows("playfield/flights.txt");
  EXPECT_GT(rows.size(), 15u);
  for (const std::vector<std::string>& f : rows) {
    ASSERT_EQ(f.size(), 10u) << f[0];
    const auto number = [&f](size_t i) { return std::strtod(f[i].c_str(), nullptr); };
    Rig r;
    r.g.targets[4] = {number(3), number(4), 0.0, CodeOf('A')};
    r.g.shotActive = true;
    for (auto& p : r.g.shotTrail) p = {number(0), number(1)};
    if (!f[2].empty()) {
      r.g.lockQueue[0] = static_cast<int16_t>(std::stoi(f[2]));
      r.g.lockTail = r.g.lockCount = 1;
    }
    UpdateShot(r.g, number(5));
    const std::string where = f[0] + " " + f[1] + " to " + f[3] + " " + f[4];
    const bool hit = f[6] == "1";
    EXPECT_EQ(r.g.targets[4].keyCode, hit ? 0 : CodeOf('A')) << where;
    if (!f[2].empty()) EXPECT_EQ(r.g.lockCount, hit ? 0 : 1) << where;
    if (!f[7].empty()) EXPECT_EQ(r.g.shotActive, f[7] == "1") << where;
    if (!f[8].empty())
      EXPECT_EQ(std::pair(r.g.pacing.shotStepX, r.g.pacing.shotStepY),
                std::pair(number(8), number(9)))
          << where;
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

// A hit on the oldest letter moves the ring's head past the letters gone, to the tail; with a
// tail outside the ring (a damaged state) the walk still ends, once round.
TEST(Ring, AHitOnTheOldestLetterWalksTheHeadPastLettersGone) {
  for (const int16_t tail : {int16_t{7}, int16_t{0}}) {
    Rig r;
    r.g.targets[4] = {300.0, 200.0, 0.0, CodeOf('A')};
    r.g.ringHead = 4;
    r.g.ringTail = tail;
    r.g.shotActive = true;
    for (auto& p : r.g.shotTrail) p = {300.0, 200.0};
    r.g.lockQueue[0] = 4;
    r.g.lockTail = r.g.lockCount = 1;
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.ringHead, tail == 0 ? 4 : tail);
  }
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

// A marker on each locked letter, at its right; a queue entry outside the
// targets (a damaged state) draws nothing.
TEST(LockMarkers, OnLockedLettersAndNothingOutsideTheTargets) {
  const int16_t past = static_cast<int16_t>(state::kRingLast + 2);
  for (const int16_t slot : {int16_t{1}, past, int16_t{-1}}) {
    Rig r;
    r.g.targets[1] = {150.0, 100.0, 0.0, CodeOf('A')};
    r.g.lockQueue[0] = slot;
    r.blits.clear();
    playfield::DrawLockMarkers(r.g);
    EXPECT_EQ(r.blits, slot == 1 ? std::vector<int32_t>{159} : std::vector<int32_t>{}) << slot;
  }
}

}  // namespace
