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
    if (!r.Only("text").empty()) ++shown;
    if (i < 18) {
      EXPECT_EQ(r.g.popups[3].timeLeft, 300 - 16 * (i + 1));
    }
  }
  EXPECT_EQ(shown, 19);
  EXPECT_EQ(r.g.popups[3].timeLeft, 0);  // stops at 0 rather than -4
}

TEST(Popups, GlowJittersFromTheCornerAndTheTextSinks) {
  Rig r;
  r.g.rng.Seed(3);
  core::Random expected = r.g.rng;
  r.g.popups[0] = {100.0, 200.0, 300, 3};
  r.g.popups[5] = {300.0, 250.0, 100, 1};
  UpdatePopups(r.g, 16);

  const double a1 = expected.NextDouble();
  const double a2 = expected.NextDouble();
  const double b1 = expected.NextDouble();
  const double b2 = expected.NextDouble();
  ASSERT_EQ(r.draws.size(), 4u);
  EXPECT_EQ(r.draws[0].op, "blit");
  EXPECT_EQ(r.draws[0].x, core::RoundHalfEven(100.0 + a1 * 10));
  EXPECT_EQ(r.draws[0].y, core::RoundHalfEven(200.0 + a2 * 10));
  EXPECT_EQ(r.draws[0].rect, (media::Rect{0, 222, 49, 259}));
  EXPECT_EQ(r.draws[0].flags, 17);
  EXPECT_EQ(r.draws[1].op, "text");
  EXPECT_EQ(r.draws[1].text, " + 3");
  EXPECT_EQ(r.draws[1].x, 100);
  EXPECT_EQ(r.draws[1].y, 200);  // 200.32
  EXPECT_EQ(r.draws[2].x, core::RoundHalfEven(300.0 + b1 * 10));
  EXPECT_EQ(r.draws[2].y, core::RoundHalfEven(250.0 + b2 * 10));
  EXPECT_EQ(r.draws[3].text, " + 1");
  EXPECT_DOUBLE_EQ(r.g.popups[0].y, 200.32);
  EXPECT_EQ(r.g.popups[0].x, 100.0);
}

TEST(Popups, AHitAtLevelZeroShowsZeroPoints) {
  Rig r;
  r.g.level = 0;
  r.g.shotActive = true;
  for (auto& p : r.g.shotTrail) p = {300, 200};
  r.g.targets[4] = {300.0, 200.0, 0.0, 30};
  r.g.lockQueue[0] = 4;
  r.g.lockCount = 1;
  playfield::UpdateShot(r.g, 16);
  EXPECT_EQ(r.g.score, 0);
  r.draws.clear();
  UpdatePopups(r.g, 16);
  ASSERT_EQ(r.Only("text").size(), 1u);
  EXPECT_EQ(r.Only("text")[0].text, " + 0");
}

TEST(Popups, ASecondHitFromTheSameLockSlotReplacesTheFirst) {
  Rig r;
  r.g.shotActive = true;
  for (auto& p : r.g.shotTrail) p = {300, 200};
  r.g.targets[4] = {300.0, 200.0, 0.0, 30};
  r.g.lockQueue[2] = 4;
  r.g.lockHead = 2;
  r.g.lockCount = 1;
  playfield::UpdateShot(r.g, 16);
  for (int i = 0; i < 5; ++i) UpdatePopups(r.g, 16);
  EXPECT_EQ(r.g.popups[2].timeLeft, 220);

  // The queue goes round once and slot 2 is used again.
  for (auto& p : r.g.shotTrail) p = {150, 400};
  r.g.targets[9] = {150.0, 400.0, 0.0, 31};
  r.g.lockQueue[2] = 9;
  r.g.lockHead = 2;
  r.g.lockCount = 1;
  playfield::UpdateShot(r.g, 16);
  const core::Popup& p = r.g.popups[2];
  EXPECT_EQ(p.timeLeft, 300);
  EXPECT_EQ(p.x, 150.0);
  EXPECT_EQ(p.y, 400.0);
  EXPECT_EQ(p.points, 2);
}

TEST(Popups, AVeryLongFrameClampsAtZero) {
  Rig r;
  r.g.popups[1] = {100.0, 100.0, 300, 4};
  UpdatePopups(r.g, 40000);
  EXPECT_EQ(r.g.popups[1].timeLeft, 0);
  EXPECT_EQ(r.Only("text").size(), 1u);  // still drawn in that frame
  EXPECT_DOUBLE_EQ(r.g.popups[1].y, 900.0);
  r.draws.clear();
  UpdatePopups(r.g, 16);
  EXPECT_TRUE(r.draws.empty());
}

TEST(Popups, SkippedOnesUseNoRandomNumbers) {
  Rig r;
  r.g.popups[0] = {100.0, 100.0, 0, 4};
  r.g.popups[1] = {100.0, 100.0, -5, 4};
  r.g.popups[8] = {100.0, 100.0, 300, 4};  // the spare element is never shown
  core::Random before = r.g.rng;
  UpdatePopups(r.g, 16);
  EXPECT_TRUE(r.draws.empty());
  EXPECT_EQ(r.g.rng.NextDouble(), before.NextDouble());
}

// Records whether each blit of a real surface was drawn.
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
