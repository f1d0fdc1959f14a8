// Tests of the lock-on markers and the lock gauge.
#include "playfield/markers.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace {

using testing_support::Rig;

TEST(LockGauge, FreeCellsFirstThenOneTakenCellPerLockFromTheTop) {
  constexpr media::Rect kFree{300, 143, 332, 159};
  constexpr media::Rect kTaken{300, 127, 332, 143};
  for (int16_t count : {0, 3, 8}) {
    Rig r;
    r.g.lockCount = count;
    playfield::DrawLockGauge(r.g);
    const auto blits = r.Only("blit");
    ASSERT_EQ(blits.size(), 8u);
    for (int k = 0; k < 8; ++k) {
      const int cell = k < 8 - count ? count + k : k - (8 - count);
      EXPECT_EQ(blits[k].x, 12);
      EXPECT_EQ(blits[k].y, 200 + 18 * cell) << count << " locks, blit " << k;
      EXPECT_EQ(blits[k].rect, cell < count ? kTaken : kFree) << count << " locks, cell " << cell;
    }
  }
}

TEST(LockMarkers, SitOnTheLetterAndAreCutOffAboveTheScreen) {
  struct Case {
    double y;
    int32_t top, destY;
  };
  for (Case c : {Case{100.7, 96, 102}, Case{-2.0, 96, 0}, Case{-2.5, 98, 0}, Case{-31.5, 126, 0},
                 Case{-32.0, 127, 0}}) {
    Rig r;
    r.g.targets[6] = {100.4, c.y, 0.0, 30};
    r.g.targets[7] = {200.0, 50.0, 0.0, 0};  // hit already: no marker
    r.g.lockQueue = {0, 7, 6, 0, 0, 0, 0, 0, 0};
    r.g.lockCount = 2;
    playfield::DrawLockMarkers(r.g);
    const auto blits = r.Only("blit");
    ASSERT_EQ(blits.size(), 1u) << "y " << c.y;
    EXPECT_EQ(blits[0].rect, (media::Rect{300, c.top, 332, 127})) << "y " << c.y;
    EXPECT_EQ(blits[0].y, c.destY) << "y " << c.y;
    EXPECT_EQ(blits[0].x, 109);
  }
}

}  // namespace
