// Play-field rules at edges the recorded games do not reach: contact distances
// to the pixel, a full ring, play without words, the last word of a full table
// (what a fall-out counts against each key: the golden game stats_fall_out).
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "playfield/markers.h"
#include "playfield/shot.h"
#include "playfield/targets.h"
#include "support/fakes.h"

namespace {

using playfield::UpdateShot;
using playfield::UpdateTargets;
using testing_support::Rig;

constexpr auto CodeOf = Rig::CodeOf;

// A shot flying at (x, y), locked on the letter in `slot` (none: nothing locked), after one
// step of `pixels`.
void Fly(Rig& r, double x, double y, std::optional<int16_t> slot, double pixels = 16) {
  r.g.shotActive = true;
  for (auto& p : r.g.shotTrail) p = {x, y};
  if (slot) {
    r.g.lockQueue[0] = *slot;
    r.g.lockTail = r.g.lockCount = 1;
  }
  UpdateShot(r.g, pixels);
}

TEST(ShotHit, ContactIsStrictlyCloserThanTenAndFifteen) {
  for (auto [x, y, hit] :
       {std::tuple{309.9, 214.9, 1}, {290.1, 185.1, 1}, {310.0, 200.0, 0}, {300.0, 215.0, 0}}) {
    Rig r;
    r.g.targets[4] = {x, y, 0.0, CodeOf('A')};
    Fly(r, 300, 200, 4);
    EXPECT_EQ(r.g.targets[4].keyCode, hit ? 0 : CodeOf('A')) << x << "," << y;
    EXPECT_EQ(r.g.lockCount, hit ? 0 : 1) << x << "," << y;
  }
}

TEST(ShotHit, AShotWithNothingLockedFliesOnUntilItIsPastTheRightEdge) {
  for (auto [x, flying] : {std::pair{640.0, true}, {640.5, false}}) {
    Rig r;
    Fly(r, x, 200, std::nullopt);
    EXPECT_EQ(r.g.shotActive, flying) << x;
  }
}

// A lock entry that names no slot aims the shot at slot 0, which never holds a letter.
TEST(ShotHit, ALockNamingNoSlotAimsAtSlotZero) {
  for (const int16_t slot : {int16_t{0}, int16_t{-1}, int16_t{101}, int16_t{32767}}) {
    Rig r;
    Fly(r, 240, 180, slot, 5);  // 5 pixels toward (0, 0)
    EXPECT_NEAR(r.g.pacing.shotStepX, -4.0, 1e-12) << slot;
    EXPECT_NEAR(r.g.pacing.shotStepY, -3.0, 1e-12) << slot;
    EXPECT_EQ(r.g.lockCount, 1) << slot;
  }
}

// The steps where the C library's atan, cos or sin is not correctly rounded, and the
// nearly vertical flights whose angle lies within a few ulps of pi/2. The steps were
// worked out with tools/make_exact_math.py.
TEST(ShotSteering, StepsAreCorrectlyRoundedWhereTheCLibraryIsNot) {
  struct Flight {
    double headX, headY, targetX, targetY, stepX, stepY;
    const char* what;
  };
  constexpr double kTiny = 0x1p-40;
  for (const Flight& f : {
           Flight{0.0, 300.25, 14, 220, 0x1.5ff7b835e8efbp+1, -0x1.f861d91f8a60dp+3,
                  "the C library's cos is an ulp off"},
           {0.0, 300.25, 133, 330, 0x1.f3a710b7e17dbp+3, 0x1.bf0ebe1dc9c15p+1,
            "its atan is an ulp off"},
           {0.0, 300.25, 238, 154, 0x1.b438d6cf6e780p+3, -0x1.0c0e7d8bd5e65p+3,
            "its sin is an ulp off"},
           {600.5, 100.75, 273, 187, -0x1.ef1e1ffc3d015p+3, 0x1.04c984251a492p+2,
            "its atan is an ulp off, and pi added makes sin many ulps off"},
           {300 + kTiny, 200, 300, 400, -0x1.6e59d9cceba40p-46, 0x1p+4,
            "just right of straight below: pi/2 plus 1e-15"},
           {300 - kTiny, 200, 300, 400, 0x1.4469898cc5170p-44, 0x1p+4,
            "just left of straight below: atan within 5e-15 of pi/2"},
       }) {
    Rig r;
    r.g.targets[4] = {f.targetX, f.targetY, 0.0, CodeOf('A')};
    Fly(r, f.headX, f.headY, 4);
    EXPECT_EQ(r.g.pacing.shotStepX, f.stepX) << f.what;
    EXPECT_EQ(r.g.pacing.shotStepY, f.stepY) << f.what;
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
