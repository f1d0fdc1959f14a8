// Tests of the homing shot: trail, end of flight, hits and scoring, steering.
#include "playfield/shot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/fakes.h"

namespace {

using playfield::UpdateShot;
using testing_support::Rig;

constexpr int16_t kCode = 30;

// A shot in flight with every trail point at (x, y).
void StartShot(Rig& r, double x, double y) {
  r.g.shotActive = true;
  for (auto& p : r.g.shotTrail) p = {x, y};
}

// Locks target slot t at (x, y) into the next lock slot.
void Lock(Rig& r, int16_t t, double x, double y) {
  r.g.targets[t] = {x, y, 0.0, kCode};
  r.g.lockQueue[r.g.lockTail] = t;
  r.g.lockTail = static_cast<int16_t>((r.g.lockTail + 1) % 8);
  ++r.g.lockCount;
}

TEST(ShotTrail, NothingWhileIdle) {
  Rig r;
  r.g.shotTrail[0] = {300, 200};
  UpdateShot(r.g, 16);
  EXPECT_TRUE(r.draws.empty());
  EXPECT_EQ(r.g.shotTrail[0].x, 300.0);
}

TEST(ShotTrail, DrawnOldestFirstAndCutOffAboveTheScreen) {
  Rig r;
  r.g.shotActive = true;
  const double ys[6] = {100.5, 101.5, -10.4, -36.5, -37.0, 300.0};
  for (int i = 0; i < 6; ++i) r.g.shotTrail[i] = {10.0 * i + 0.5, ys[i]};
  r.g.shotTrail[6] = {1, 1};  // not part of the flight
  UpdateShot(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 6u);
  const int32_t tops[6] = {222, 222, 232, 258, 259, 222};
  const int32_t dest[6] = {100, 102, 0, 0, 0, 300};
  const int32_t xs[6] = {0, 10, 20, 30, 40, 50};  // x.5 halves to even
  for (int k = 0; k < 6; ++k) {
    const int i = 5 - k;
    EXPECT_EQ(blits[k].rect, (media::Rect{0, tops[i], 49, 259})) << "point " << i;
    EXPECT_EQ(blits[k].y, dest[i]) << "point " << i;
    EXPECT_EQ(blits[k].x, xs[i]) << "point " << i;
    EXPECT_EQ(blits[k].flags, 17);
  }
}

TEST(ShotHit, ContactIsStrictlyCloserThanTenAndFifteen) {
  Rig r;
  StartShot(r, 300, 200);
  Lock(r, 4, 309.9, 214.9);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.targets[4].keyCode, 0);
  EXPECT_EQ(r.g.targets[4].x, 309.9);  // position stays
  EXPECT_EQ(r.g.lockCount, 0);

  for (auto [x, y] : {std::pair{310.0, 200.0}, {290.0, 200.0}, {300.0, 215.0}, {300.0, 185.0}}) {
    Rig s;
    StartShot(s, 300, 200);
    Lock(s, 4, x, y);
    UpdateShot(s.g, 16);
    EXPECT_EQ(s.g.targets[4].keyCode, kCode) << x << "," << y;
    EXPECT_EQ(s.g.lockCount, 1);
    EXPECT_TRUE(s.sounds.empty());
  }
}

TEST(ShotHit, TheTenStepsOfAHit) {
  Rig r;
  StartShot(r, 300, 200);
  r.g.score = 10;
  r.g.ringHead = 1;
  r.g.ringTail = 8;
  r.g.targets[1] = {100.0, 50.0, 0.0, kCode};
  Lock(r, 4, 305.0, 205.0);
  UpdateShot(r.g, 16);

  EXPECT_EQ(r.sounds, (std::vector<std::string>{"sndHit.rewind", "sndHit.play"}));
  EXPECT_EQ(r.g.combo, 1);
  EXPECT_EQ(r.g.hitCount, 1);
  EXPECT_EQ(r.g.score, 11);
  const core::Popup& p = r.g.popups[0];
  EXPECT_EQ(p.timeLeft, 300);
  EXPECT_EQ(p.x, 305.0);
  EXPECT_EQ(p.y, 205.0);
  EXPECT_EQ(p.points, 1);
  EXPECT_EQ(r.g.ringHead, 1);  // not the oldest letter
  EXPECT_EQ(r.g.lockQueue[0], 0);
  EXPECT_EQ(r.g.lockHead, 1);
  EXPECT_EQ(r.g.lockCount, 0);
  EXPECT_EQ(r.g.level, 3);
  EXPECT_TRUE(r.g.shotActive);
}

TEST(ShotHit, ComboGrowsToTheLevelAndStays) {
  Rig r;
  r.g.combo = 2;
  r.g.score = 0;
  StartShot(r, 300, 200);
  Lock(r, 4, 300, 200);
  Lock(r, 5, 300, 200);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.combo, 3);
  EXPECT_EQ(r.g.score, 3);
  for (auto& p : r.g.shotTrail) p = {300, 200};
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.combo, 3);
  EXPECT_EQ(r.g.score, 6);
  EXPECT_EQ(r.g.popups[1].points, 3);
}

TEST(ShotHit, EveryTenthHitRaisesTheLevelAfterScoring) {
  Rig r;
  r.g.hitCount = 9;
  r.g.combo = 3;
  StartShot(r, 300, 200);
  Lock(r, 4, 300, 200);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.hitCount, 10);
  EXPECT_EQ(r.g.popups[0].points, 3);  // capped by the old level
  EXPECT_EQ(r.g.score, 3);
  EXPECT_EQ(r.g.level, 4);
  EXPECT_EQ(r.g.maxLevel, 4);

  Rig s;
  s.g.hitCount = 19;
  s.g.maxLevel = 6;
  StartShot(s, 300, 200);
  Lock(s, 4, 300, 200);
  UpdateShot(s.g, 16);
  EXPECT_EQ(s.g.level, 4);
  EXPECT_EQ(s.g.maxLevel, 6);
}

TEST(ShotHit, CountersNeverOverflow) {
  Rig r;
  r.g.hitCount = 32767;
  r.g.level = 32767;
  r.g.maxLevel = 32767;
  r.g.combo = 32767;
  r.g.score = std::numeric_limits<int32_t>::max() - 10;
  StartShot(r, 300, 200);
  Lock(r, 4, 300, 200);
  Lock(r, 5, 300, 200);
  Lock(r, 6, 300, 200);
  UpdateShot(r.g, 16);
  // Stepped back by 30000: 32768 and 2768 agree in their last digit.
  EXPECT_EQ(r.g.hitCount, 2768);
  EXPECT_EQ(r.g.combo, 32767);
  EXPECT_EQ(r.g.score, std::numeric_limits<int32_t>::max());
  for (int i = 0; i < 2; ++i) {
    for (auto& p : r.g.shotTrail) p = {300, 200};
    UpdateShot(r.g, 16);
  }
  EXPECT_EQ(r.g.hitCount, 2770);
  EXPECT_EQ(r.g.level, 32767);  // the tenth hit, but the level is at its top
}

TEST(ShotHit, RingHeadMovesPastGoneLetters) {
  {
    Rig r;
    r.g.ringHead = 2;
    r.g.ringTail = 7;
    r.g.targets[5] = {100, 100, 0, kCode};
    StartShot(r, 300, 200);
    Lock(r, 2, 300, 200);  // 3 and 4 were hit before
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.ringHead, 5);
  }
  {
    Rig r;
    r.g.ringHead = 2;
    r.g.ringTail = 7;
    StartShot(r, 300, 200);
    Lock(r, 2, 300, 200);  // 3 to 6 all gone
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.ringHead, 7);
  }
  {
    Rig r;
    r.g.ringHead = 98;
    r.g.ringTail = 4;
    r.g.targets[2] = {100, 100, 0, kCode};
    StartShot(r, 300, 200);
    Lock(r, 98, 300, 200);  // 99 and 1 gone: wraps
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.ringHead, 2);
  }
}

TEST(ShotHit, LockHeadWrapsAndThePopUpTakesTheLockSlot) {
  Rig r;
  r.g.lockHead = 7;
  r.g.lockTail = 7;
  StartShot(r, 300, 200);
  Lock(r, 4, 300, 200);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.lockHead, 0);
  EXPECT_EQ(r.g.popups[7].timeLeft, 300);
  EXPECT_EQ(r.g.popups[0].timeLeft, 0);
}

TEST(ShotFlight, EndsOnlyOnceHeadAndTrailHaveLeftWithNoLock) {
  Rig r;
  r.g.combo = 2;
  StartShot(r, 320, -50);
  r.g.shotTrail[5] = {320, -37};  // point 5 is still inside
  r.g.pacing.shotStepY = -16;
  UpdateShot(r.g, 16);
  EXPECT_TRUE(r.g.shotActive);
  EXPECT_EQ(r.g.combo, 2);
  EXPECT_EQ(r.g.shotTrail[0].y, -66.0);

  r.g.shotTrail[5] = {320, -37.5};
  r.draws.clear();
  UpdateShot(r.g, 16);
  EXPECT_FALSE(r.g.shotActive);
  EXPECT_EQ(r.g.combo, 0);
  EXPECT_EQ(r.g.shotTrail[0].y, -66.0);  // not moved
  EXPECT_EQ(r.Only("blit").size(), 6u);  // drawn before the test

  // Inside the rectangles, bounds included.
  for (auto [x, y] : {std::pair{0.0, 0.0}, {640.0, 480.0}}) {
    Rig s;
    StartShot(s, -100, -100);
    s.g.shotTrail[0] = {x, y};
    UpdateShot(s.g, 16);
    EXPECT_TRUE(s.g.shotActive) << x << "," << y;
  }
}

TEST(ShotFlight, CoastingKeepsTheLastStep) {
  Rig r;
  StartShot(r, 300, 300);
  r.g.pacing.shotStepX = 3;
  r.g.pacing.shotStepY = -4;
  UpdateShot(r.g, 50);
  EXPECT_EQ(r.g.shotTrail[0].x, 303.0);
  EXPECT_EQ(r.g.shotTrail[0].y, 296.0);
  EXPECT_EQ(r.g.shotTrail[1].x, 300.0);
}

TEST(ShotFlight, TheLastHitLeavesTheShotCoastingOnTheOldStep) {
  Rig r;
  StartShot(r, 300, 200);
  r.g.pacing.shotStepX = 7;
  r.g.pacing.shotStepY = -9;
  Lock(r, 4, 305, 205);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.pacing.shotStepX, 7.0);
  EXPECT_EQ(r.g.pacing.shotStepY, -9.0);
  EXPECT_EQ(r.g.shotTrail[0].x, 307.0);
}

TEST(ShotSteering, SixteenPixelsPerFrameTowardTheLetter) {
  for (auto [tx, ty] : {std::pair{100.0, 100.0}, {500.0, 100.0}, {500.0, 450.0}, {20.0, 460.0}}) {
    Rig r;
    StartShot(r, 320, 400);
    Lock(r, 4, tx, ty);
    UpdateShot(r.g, 16);
    const double sx = r.g.pacing.shotStepX;
    const double sy = r.g.pacing.shotStepY;
    EXPECT_NEAR(std::hypot(sx, sy), 16.0, 1e-9);
    const double dist = std::hypot(tx - 320, ty - 400);
    EXPECT_NEAR(sx, 16.0 * (tx - 320) / dist, 1e-9) << tx << "," << ty;
    EXPECT_NEAR(sy, 16.0 * (ty - 400) / dist, 1e-9) << tx << "," << ty;
    EXPECT_EQ(r.g.shotTrail[0].x, 320 + sx);
    EXPECT_EQ(r.g.shotTrail[1].x, 320.0);
  }
}

TEST(ShotSteering, StraightUpOrDownWhenTheLetterIsInLine) {
  Rig r;
  StartShot(r, 300, 300);
  Lock(r, 4, 300, 100);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.pacing.shotStepX, 0.0);
  EXPECT_EQ(r.g.pacing.shotStepY, -16.0);

  Rig s;
  StartShot(s, 300, 100);
  Lock(s, 4, 300, 300);
  UpdateShot(s.g, 16);
  EXPECT_EQ(s.g.pacing.shotStepX, 0.0);
  EXPECT_EQ(s.g.pacing.shotStepY, 16.0);
}

TEST(ShotSteering, OnTheNextLetterItselfTheStepIsKept) {
  Rig r;
  StartShot(r, 300, 200);
  r.g.pacing.shotStepX = 5;
  r.g.pacing.shotStepY = -2;
  Lock(r, 4, 300, 200);
  Lock(r, 5, 300, 200);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.lockCount, 1);
  EXPECT_EQ(r.g.pacing.shotStepX, 5.0);
  EXPECT_EQ(r.g.pacing.shotStepY, -2.0);
}

TEST(ShotSteering, OffTheScreenWithALockItTurnsBack) {
  Rig r;
  StartShot(r, -200, -300);
  Lock(r, 4, 100, 100);
  r.g.pacing.shotStepX = -16;
  UpdateShot(r.g, 16);
  EXPECT_TRUE(r.g.shotActive);
  EXPECT_GT(r.g.pacing.shotStepX, 0.0);
  EXPECT_GT(r.g.pacing.shotStepY, 0.0);

  // Followed long enough, it reaches the letter.
  for (int i = 0; i < 60 && r.g.lockCount > 0; ++i) UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.lockCount, 0);
  EXPECT_EQ(r.g.targets[4].keyCode, 0);
}

TEST(ShotSteering, ANewLockMakesACoastingShotSteerAgain) {
  Rig r;
  StartShot(r, 300, 300);
  r.g.pacing.shotStepX = 16;
  UpdateShot(r.g, 16);
  Lock(r, 4, 316, 100);
  UpdateShot(r.g, 16);
  EXPECT_NEAR(r.g.pacing.shotStepX, 0.0, 1e-12);
  EXPECT_NEAR(r.g.pacing.shotStepY, -16.0, 1e-12);
}

}  // namespace
