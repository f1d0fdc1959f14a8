// Tests of the score pop-ups: lifetime, glow and text, long frames.
#include "playfield/popups.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "media/surface.h"
#include "state/arith.h"
#include "support/fakes.h"

namespace {

using playfield::UpdatePopups;
using testing_support::Rig;

TEST(Popups, ShowForNineteenFramesOfSixteenMsAndStopAtZero) {
  Rig r;
  r.g.popups[3] = {200.0, 100.0, 300, 2};
  for (int i = 0; i < 30; ++i) UpdatePopups(r.g, 16);
  EXPECT_EQ(r.Only("text").size(), 19u);
  EXPECT_EQ(r.g.popups[3].timeLeft, 0);  // rather than -4
  r.draws.clear();
  r.g.popups[1] = {100.0, 100.0, 300, 4};
  UpdatePopups(r.g, 40000);
  EXPECT_EQ(r.g.popups[1].timeLeft, 0);  // rather than below the 16-bit range
  EXPECT_EQ(r.Only("text").size(), 1u);
}

// Records each operation on a real surface, and whether it was drawn.
struct DrawnLog : media::SurfaceObserver {
  void OnSurfaceOp(const media::SurfaceOp& op) override { ops.push_back(op); }
  std::vector<media::SurfaceOp> ops;
};

TEST(Popups, GlowJittersAndTheTextSinksAGlowBelowTheScreenIsRefused) {
  Rig r;
  auto back = std::make_shared<media::SoftSurface>(640, 480, "back");
  DrawnLog log;
  back->SetObserver(&log);
  r.g.backBuffer = back;
  r.g.spriteSurface = std::make_shared<media::SoftSurface>(348, 262, "sprite");
  r.g.rng.Seed(3);
  state::Random expected = r.g.rng;
  r.g.popups[0] = {200.0, 445.0, 300, 3};  // gy + 37 > 480 whatever the jitter
  r.g.popups[5] = {100.0, 200.4, 300, 7};
  UpdatePopups(r.g, 16);
  ASSERT_EQ(log.ops.size(), 4u);
  EXPECT_FALSE(log.ops[0].drawn);
  EXPECT_EQ(std::tuple(log.ops[1].text, log.ops[1].y), std::tuple(" + 3", 445));
  expected.NextDouble();
  expected.NextDouble();
  const double r1 = expected.NextDouble(), r2 = expected.NextDouble();
  const media::SurfaceOp& glow = log.ops[2];  // placed before the sink
  EXPECT_EQ(std::tuple(glow.drawn, glow.x, glow.y, glow.rect),
            std::tuple(true, state::RoundHalfEven(100 + r1 * 10),
                       state::RoundHalfEven(200.4 + r2 * 10), media::Rect{0, 222, 49, 259}));
  const media::SurfaceOp& text = log.ops[3];  // at the sunk position
  EXPECT_EQ(std::tuple(text.text, text.x, text.y), std::tuple(" + 7", 100, 201));
  EXPECT_DOUBLE_EQ(r.g.popups[5].y, 200.72);  // 20 px per second
}

}  // namespace
