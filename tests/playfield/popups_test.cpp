// Tests of the score pop-ups: lifetime, glow and text, replacement, long frames.
#include "playfield/popups.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/arith.h"
#include "media/surface.h"
#include "playfield/shot.h"
#include "support/fakes.h"

namespace {

using playfield::UpdatePopups;
using testing_support::Rig;

TEST(Popups, ShowForNineteenFramesOfSixteenMs) {
  Rig r;
  r.g.popups[3] = {200.0, 100.0, 300, 2};
  int shown = 0;
  for (int i = 0; i < 30; ++i) {
    r.draws.clear();
    UpdatePopups(r.g, 16);
    shown += static_cast<int>(r.Only("text").size());
  }
  EXPECT_EQ(shown, 19);
  EXPECT_EQ(r.g.popups[3].timeLeft, 0);  // stops at 0 rather than -4
}

TEST(Popups, AVeryLongFrameClampsAtZeroAndStillDraws) {
  Rig r;
  r.g.popups[1] = {100.0, 100.0, 300, 4};
  UpdatePopups(r.g, 40000);
  EXPECT_EQ(r.g.popups[1].timeLeft, 0);
  EXPECT_EQ(r.Only("text").size(), 1u);
  EXPECT_DOUBLE_EQ(r.g.popups[1].y, 900.0);
}

TEST(Popups, GlowJittersFromTheCornerAndTheTextSinks) {
  Rig r;
  r.g.rng.Seed(3);
  core::Random expected = r.g.rng;
  r.g.popups[5] = {100.0, 200.0, 300, 3};
  for (double y : {200.32, 200.64}) {
    const double r1 = expected.NextDouble(), r2 = expected.NextDouble();
    const double before = r.g.popups[5].y;
    r.draws.clear();
    UpdatePopups(r.g, 16);
    ASSERT_EQ(r.draws.size(), 2u);
    EXPECT_EQ(r.draws[0].x, core::RoundHalfEven(100.0 + r1 * 10));
    EXPECT_EQ(r.draws[0].y, core::RoundHalfEven(before + r2 * 10));  // before the sink
    EXPECT_EQ(r.draws[0].rect, (media::Rect{0, 222, 49, 259}));
    EXPECT_EQ(r.draws[1].text, " + 3");
    EXPECT_EQ(r.draws[1].x, 100);
    EXPECT_EQ(r.draws[1].y, core::RoundHalfEven(y));
    EXPECT_DOUBLE_EQ(r.g.popups[5].y, y);  // 20 px per second
  }
}

TEST(Popups, ASecondHitFromTheSameLockSlotReplacesTheFirst) {
  Rig r;
  r.g.shotActive = true;
  for (auto [x, y, t] : {std::tuple{300.0, 200.0, int16_t{4}}, {150.0, 400.0, int16_t{9}}}) {
    for (auto& p : r.g.shotTrail) p = {x, y};
    r.g.targets[t] = {x, y, 0.0, 30};
    r.g.lockQueue[2] = t;
    r.g.lockHead = 2;
    r.g.lockCount = 1;
    playfield::UpdateShot(r.g, 16);
    for (int i = 0; i < 5; ++i) UpdatePopups(r.g, 16);
  }
  const core::Popup& p = r.g.popups[2];
  EXPECT_EQ(p.timeLeft, 220);
  EXPECT_EQ(p.x, 150.0);
  EXPECT_DOUBLE_EQ(p.y, 401.6);
  EXPECT_EQ(p.points, 2);
}

// Records whether each operation on a real surface was drawn.
class DrawnLog : public media::SurfaceObserver {
 public:
  void OnSurfaceOp(const media::SurfaceOp& op) override { ops.push_back(op); }
  std::vector<media::SurfaceOp> ops;
};

TEST(Popups, AGlowBelowTheScreenIsRefusedButTheTextShows) {
  Rig r;
  auto back = std::make_shared<media::SoftSurface>(640, 480, "back");
  DrawnLog log;
  back->SetObserver(&log);
  r.g.backBuffer = back;
  r.g.spriteSurface = std::make_shared<media::SoftSurface>(348, 262, "sprite");
  r.g.popups[0] = {200.0, 445.0, 300, 3};  // gy + 37 > 480 whatever the jitter
  UpdatePopups(r.g, 16);
  ASSERT_EQ(log.ops.size(), 2u);
  EXPECT_EQ(log.ops[0].kind, media::SurfaceOp::Kind::Blit);
  EXPECT_FALSE(log.ops[0].drawn);
  EXPECT_EQ(log.ops[1].kind, media::SurfaceOp::Kind::Text);
  EXPECT_EQ(log.ops[1].text, " + 3");
  EXPECT_EQ(log.ops[1].y, 445);
}

}  // namespace
