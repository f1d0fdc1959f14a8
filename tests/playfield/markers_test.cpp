// Tests of the lock-on markers and the lock gauge.
#include "playfield/markers.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace {

using testing_support::Rig;

TEST(LockGauge, FreeCellsFirstThenOneTakenCellPerLockFromTheTop) {
  for (int16_t count : {0, 3, 8}) {
    Rig r;
    r.g.lockCount = count;
    playfield::DrawLockGauge(r.g);
    const auto blits = r.Only("blit");
    ASSERT_EQ(blits.size(), 8u);
    for (int k = 0; k < 8; ++k) {
      const int cell = k < 8 - count ? count + k : k - (8 - count);
      const media::Rect rect = cell < count ? media::Rect{300, 127, 332, 143}   // taken
                                            : media::Rect{300, 143, 332, 159};  // free
      EXPECT_EQ(std::tuple(blits[k].x, blits[k].y), std::tuple(12, 200 + 18 * cell)) << count;
      EXPECT_EQ(blits[k].rect, rect) << count << " locks, cell " << cell;
    }
  }
}

TEST(LockMarkers, SitOnTheLetterAndAreCutOffAboveTheScreen) {
  for (auto [y, top, destY] : {std::tuple{100.7, 96, 102},
                               {-2.0, 96, 0},
                               {-2.5, 98, 0},
                               {-31.5, 126, 0},
                               {-32.0, 127, 0}}) {
    Rig r;
    r.g.targets[6] = {100.4, y, 0.0, 30};
    r.g.targets[7] = {200.0, 50.0, 0.0, 0};  // hit already: no marker
    r.g.lockQueue = {0, 7, 6, 0, 0, 0, 0, 0, 0};
    r.g.lockCount = 2;
    playfield::DrawLockMarkers(r.g);
    ASSERT_EQ(r.Only("blit").size(), 1u) << "y " << y;
    const auto b = r.Only("blit")[0];
    EXPECT_EQ(b.rect, (media::Rect{300, top, 332, 127})) << "y " << y;
    EXPECT_EQ(std::tuple(b.x, b.y), std::tuple(109, destY)) << "y " << y;
  }
}

}  // namespace
