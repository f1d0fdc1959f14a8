// Tests of the lock-on markers and the lock gauge.
#include "playfield/markers.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace {

using playfield::DrawLockGauge;
using playfield::DrawLockMarkers;
using testing_support::Rig;

constexpr media::Rect kFree{300, 143, 332, 159};
constexpr media::Rect kTaken{300, 127, 332, 143};

TEST(LockGauge, FollowsTheLockCount) {
  Rig r;
  DrawLockGauge(r.g);
  auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(blits[i].rect, kFree);
    EXPECT_EQ(blits[i].x, 12);
    EXPECT_EQ(blits[i].y, 200 + 18 * i);
    EXPECT_EQ(blits[i].flags, 17);
  }

  r.draws.clear();
  r.g.lockCount = 3;
  DrawLockGauge(r.g);
  blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 8u);
  // The free cells 3 to 7 first, then the taken cells 0 to 2.
  const int order[8] = {3, 4, 5, 6, 7, 0, 1, 2};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(blits[k].y, 200 + 18 * order[k]);
    EXPECT_EQ(blits[k].rect, order[k] < 3 ? kTaken : kFree);
  }

  r.draws.clear();
  r.g.lockCount = 8;
  DrawLockGauge(r.g);
  blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(blits[i].rect, kTaken);
}

TEST(LockGauge, ACountOutOfRangeStillDrawsEightCells) {
  Rig r;
  r.g.lockCount = 20;
  DrawLockGauge(r.g);
  EXPECT_EQ(r.Only("blit").size(), 8u);
  r.draws.clear();
  r.g.lockCount = -3;
  DrawLockGauge(r.g);
  EXPECT_EQ(r.Only("blit").size(), 8u);
}

struct MarkerCase {
  double y;
  int32_t top;
  int32_t destY;
};

TEST(LockMarkers, SitOnTheLetterAndAreCutOffAboveTheScreen) {
  for (MarkerCase c :
       {MarkerCase{100.7, 96, 102}, MarkerCase{-2.0, 96, 0}, MarkerCase{-1.5, 96, 0},
        MarkerCase{-2.5, 98, 0}, MarkerCase{-31.5, 126, 0}, MarkerCase{-32.0, 127, 0}}) {
    Rig r;
    r.g.targets[6] = {100.4, c.y, 0.0, 30};
    r.g.lockQueue[2] = 6;
    r.g.lockCount = 1;
    DrawLockMarkers(r.g);
    const auto blits = r.Only("blit");
    ASSERT_EQ(blits.size(), 1u) << "y " << c.y;
    EXPECT_EQ(blits[0].rect, (media::Rect{300, c.top, 332, 127})) << "y " << c.y;
    EXPECT_EQ(blits[0].y, c.destY) << "y " << c.y;
    EXPECT_EQ(blits[0].x, 109);
    EXPECT_EQ(blits[0].flags, 17);
  }
}

TEST(LockMarkers, OnlyLockedFallingLettersInSlotOrder) {
  Rig r;
  r.g.targets[4] = {200.0, 50.0, 0.0, 30};
  r.g.targets[9] = {300.0, 50.0, 0.0, 31};
  r.g.targets[5] = {400.0, 50.0, 0.0, 0};         // hit already
  r.g.lockQueue = {9, 0, 5, 0, 4, 0, 0, 250, 0};  // 250 names no slot
  DrawLockMarkers(r.g);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].x, 309);
  EXPECT_EQ(blits[1].x, 209);
}

}  // namespace
