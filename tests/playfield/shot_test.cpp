// Tests of the homing shot: trail, end of flight, hits and scoring, steering.
#include "playfield/shot.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(ShotTrail, DrawnOldestFirstAndCutOffAboveTheScreen) {
  Rig r;
  r.g.shotActive = true;
  const double ys[6] = {100.5, 101.5, -10.4, -36.5, -37.0, 300.0};
  for (int i = 0; i < 6; ++i) r.g.shotTrail[i] = {10.0 * i + 0.5, ys[i]};
  UpdateShot(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 6u);
  const int32_t tops[6] = {222, 222, 232, 258, 259, 222};
  const int32_t destY[6] = {100, 102, 0, 0, 0, 300};
  for (int k = 0; k < 6; ++k) {
    const int i = 5 - k;
    EXPECT_EQ(blits[k].rect, (media::Rect{0, tops[i], 49, 259})) << "point " << i;
    EXPECT_EQ(blits[k].y, destY[i]) << "point " << i;
    EXPECT_EQ(blits[k].x, 10 * i) << "point " << i;  // x.5 halves to even
  }
}

TEST(ShotHit, ContactIsStrictlyCloserThanTenAndFifteen) {
  struct Case {
    double x, y;
    bool hit;
  };
  for (Case c : {Case{309.9, 214.9, true}, Case{290.1, 185.1, true}, Case{310.0, 200.0, false},
                 Case{300.0, 215.0, false}}) {
    Rig r;
    StartShot(r, 300, 200);
    Lock(r, 4, c.x, c.y);
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.targets[4].keyCode, c.hit ? 0 : kCode) << c.x << "," << c.y;
    EXPECT_EQ(r.g.lockCount, c.hit ? 0 : 1) << c.x << "," << c.y;
  }
}

TEST(ShotHit, TheStepsOfAHitInOrder) {
  Rig r;
  StartShot(r, 300, 200);
  r.g.score = 10;
  r.g.ringTail = 8;
  r.g.targets[1] = {100.0, 50.0, 0.0, kCode};
  Lock(r, 4, 305.0, 205.0);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.sounds, (std::vector<std::string>{"sndHit.rewind", "sndHit.play"}));
  EXPECT_EQ(r.g.targets[4].x, 305.0);  // gone, but its position stays
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
  EXPECT_TRUE(r.g.shotActive);
}

TEST(ShotHit, ComboIsCappedAtTheLevel) {
  Rig r;
  r.g.combo = 2;
  StartShot(r, 300, 200);
  Lock(r, 4, 300, 200);
  Lock(r, 5, 300, 200);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.score, 3);
  for (auto& p : r.g.shotTrail) p = {300, 200};
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.combo, 3);
  EXPECT_EQ(r.g.score, 6);
}

TEST(ShotHit, EveryTenthHitRaisesTheLevelAfterScoring) {
  for (int16_t maxLevel : {3, 6}) {
    Rig r;
    r.g.hitCount = 9;
    r.g.combo = 3;
    r.g.maxLevel = maxLevel;
    StartShot(r, 300, 200);
    Lock(r, 4, 300, 200);
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.score, 3);  // capped by the old level
    EXPECT_EQ(r.g.level, 4);
    EXPECT_EQ(r.g.maxLevel, maxLevel == 3 ? 4 : 6);
  }
}

TEST(ShotHit, RingHeadMovesPastGoneLettersOnlyFromTheOldest) {
  struct Case {
    int16_t head, tail, hit, falling, after;
  };
  // 3 and 4 gone; 3 to 6 gone; 99 and 1 gone (wraps); not the oldest.
  for (Case c : {Case{2, 7, 2, 5, 5}, Case{2, 7, 2, 0, 7}, Case{98, 4, 98, 2, 2},
                 Case{2, 7, 3, 2, 2}}) {
    Rig r;
    r.g.ringHead = c.head;
    r.g.ringTail = c.tail;
    if (c.falling) r.g.targets[c.falling] = {100, 100, 0, kCode};
    StartShot(r, 300, 200);
    Lock(r, c.hit, 300, 200);
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.ringHead, c.after) << "hit " << c.hit;
  }
}

TEST(ShotHit, LockHeadWrapsAndThePopUpTakesTheLockSlot) {
  Rig r;
  r.g.lockHead = r.g.lockTail = 7;
  StartShot(r, 300, 200);
  Lock(r, 4, 300, 200);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.lockHead, 0);
  EXPECT_EQ(r.g.popups[7].timeLeft, 300);
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
  r.g.shotTrail[5] = {320, -37.5};
  UpdateShot(r.g, 16);
  EXPECT_FALSE(r.g.shotActive);
  EXPECT_EQ(r.g.combo, 0);
  EXPECT_EQ(r.g.shotTrail[0].y, -66.0);  // not moved
}

TEST(ShotFlight, AfterTheLastHitItCoastsOnTheOldStep) {
  Rig r;
  StartShot(r, 300, 200);
  r.g.pacing.shotStepX = 7;
  r.g.pacing.shotStepY = -9;
  Lock(r, 4, 305, 205);
  UpdateShot(r.g, 16);
  UpdateShot(r.g, 50);
  EXPECT_EQ(r.g.shotTrail[0].x, 314.0);
  EXPECT_EQ(r.g.shotTrail[0].y, 182.0);
  EXPECT_EQ(r.g.shotTrail[1].x, 307.0);
}

TEST(ShotSteering, OnePixelPerMillisecondTowardTheLetter) {
  for (auto [tx, ty] : {std::pair{100.0, 100.0}, {500.0, 450.0}, {320.0, 100.0}, {320.0, 460.0}}) {
    Rig r;
    StartShot(r, 320, 400);
    Lock(r, 4, tx, ty);
    UpdateShot(r.g, 16);
    const double dist = std::hypot(tx - 320, ty - 400);
    EXPECT_NEAR(r.g.pacing.shotStepX, 16.0 * (tx - 320) / dist, 1e-9) << tx << "," << ty;
    EXPECT_NEAR(r.g.pacing.shotStepY, 16.0 * (ty - 400) / dist, 1e-9) << tx << "," << ty;
    EXPECT_EQ(r.g.shotTrail[0].x, 320 + r.g.pacing.shotStepX);
  }
}

TEST(ShotSteering, OffTheScreenWithALockItTurnsBack) {
  Rig r;
  StartShot(r, -200, -300);
  Lock(r, 4, 100, 100);
  r.g.pacing.shotStepX = -16;
  for (int i = 0; i < 60 && r.g.lockCount > 0; ++i) UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.targets[4].keyCode, 0);
  EXPECT_TRUE(r.g.shotActive);
}

}  // namespace
