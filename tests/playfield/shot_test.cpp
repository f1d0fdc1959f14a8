// Tests of the homing shot: trail, end of flight, hits and scoring, steering.
#include "playfield/shot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

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
  const int32_t tops[6] = {222, 222, 232, 258, 259, 222}, destY[6] = {100, 102, 0, 0, 0, 300};
  for (int i = 0; i < 6; ++i) r.g.shotTrail[i] = {10.0 * i + 0.5, ys[i]};
  UpdateShot(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    const auto& b = blits[5 - i];  // x.5 halves to even
    EXPECT_EQ(std::tuple(b.x, b.y, b.rect.top), std::tuple(10 * i, destY[i], tops[i])) << i;
  }
}

TEST(ShotHit, ContactIsStrictlyCloserThanTenAndFifteen) {
  for (auto [x, y, hit] :
       {std::tuple{309.9, 214.9, 1}, {290.1, 185.1, 1}, {310.0, 200.0, 0}, {300.0, 215.0, 0}}) {
    Rig r;
    StartShot(r, 300, 200);
    Lock(r, 4, x, y);
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.targets[4].keyCode, hit ? 0 : kCode) << x << "," << y;
    EXPECT_EQ(r.g.lockCount, hit ? 0 : 1) << x << "," << y;
  }
}

TEST(ShotHit, TheStepsOfAHitInOrder) {
  Rig r;
  StartShot(r, 300, 200);
  r.g.score = 10;
  r.g.lockHead = r.g.lockTail = 7;
  r.g.pacing.shotStepX = 7;
  r.g.pacing.shotStepY = -9;
  r.g.popups[7] = {1.0, 1.0, 120, 5};  // an older hit's pop-up from the same lock slot
  Lock(r, 4, 305.0, 205.0);
  UpdateShot(r.g, 16);
  EXPECT_EQ(r.sounds, (std::vector<std::string>{"sndHit.rewind", "sndHit.play"}));
  EXPECT_EQ(r.g.targets[4].x, 305.0);  // gone, but its position stays
  EXPECT_EQ(std::tuple(r.g.combo, r.g.hitCount, r.g.score), std::tuple(1, 1, 11));
  const state::Popup& p = r.g.popups[7];  // replaced
  EXPECT_EQ(std::tuple(p.timeLeft, p.x, p.y, p.points), std::tuple(300, 305.0, 205.0, 1));
  EXPECT_EQ(std::tuple(r.g.lockQueue[7], r.g.lockHead, r.g.lockCount), std::tuple(0, 0, 0));
  // No lock left: the shot coasts on the step of the frame before, whatever the frame time.
  UpdateShot(r.g, 50);
  EXPECT_EQ(std::tuple(r.g.shotTrail[0].x, r.g.shotTrail[0].y), std::tuple(314.0, 182.0));
  EXPECT_EQ(std::tuple(r.g.shotActive, r.g.combo), std::tuple(true, 1));
}

TEST(ShotHit, ComboCappedAtTheLevelAndTheTenthHitRaisesItAfterScoring) {
  Rig r;
  r.g.hitCount = 8;
  r.g.combo = 2;
  StartShot(r, 300, 200);
  Lock(r, 4, 300, 200);
  Lock(r, 5, 300, 200);
  UpdateShot(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.combo, r.g.score, r.g.level), std::tuple(3, 3, 3));
  for (auto& p : r.g.shotTrail) p = {300, 200};
  UpdateShot(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.combo, r.g.score, r.g.level, r.g.maxLevel), std::tuple(3, 6, 4, 4));
}

TEST(ShotHit, RingHeadMovesPastGoneLettersOnlyFromTheOldest) {
  // head, tail, hit slot, the one falling slot (0: none), head after
  for (auto [head, tail, hit, falling, after] :
       {std::tuple{2, 7, 2, 5, 5}, {2, 7, 2, 0, 7}, {98, 4, 98, 2, 2}, {2, 7, 3, 2, 2}}) {
    Rig r;
    r.g.ringHead = static_cast<int16_t>(head);
    r.g.ringTail = static_cast<int16_t>(tail);
    r.g.targets[falling] = {100, 100, 0, static_cast<int16_t>(falling ? kCode : 0)};
    StartShot(r, 300, 200);
    Lock(r, static_cast<int16_t>(hit), 300, 200);
    UpdateShot(r.g, 16);
    EXPECT_EQ(r.g.ringHead, after) << "hit " << hit;
  }
}

TEST(ShotFlight, EndsOnlyOnceHeadAndTrailHaveLeftWithNoLock) {
  Rig r;
  r.g.combo = 2;
  StartShot(r, 320, -50);
  r.g.shotTrail[5] = {320, -37};  // point 5 is still inside
  r.g.pacing.shotStepY = -16;
  UpdateShot(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.shotActive, r.g.combo), std::tuple(true, 2));
  r.g.shotTrail[5] = {320, -37.5};
  UpdateShot(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.shotActive, r.g.combo), std::tuple(false, 0));
  EXPECT_EQ(r.g.shotTrail[0].y, -66.0);  // not moved
}

TEST(ShotSteering, OnePixelPerMillisecondTowardTheLetterEvenFromOffTheScreen) {
  // The last: off the screen with a lock waiting, it turns back instead of ending.
  for (auto [hx, hy, tx, ty] : {std::tuple{320, 400, 100, 100},
                                {320, 400, 320, 100},
                                {320, 400, 320, 460},
                                {-200, -300, 100, 100}}) {
    Rig r;
    StartShot(r, hx, hy);
    Lock(r, 4, tx, ty);
    UpdateShot(r.g, 16);
    const double dist = std::hypot(tx - hx, ty - hy);
    EXPECT_NEAR(r.g.pacing.shotStepX, 16.0 * (tx - hx) / dist, 1e-9) << tx;
    EXPECT_NEAR(r.g.pacing.shotStepY, 16.0 * (ty - hy) / dist, 1e-9) << ty;
    EXPECT_EQ(std::tuple(r.g.shotActive, r.g.shotTrail[0].x),
              std::tuple(true, hx + r.g.pacing.shotStepX));
  }
}

}  // namespace
