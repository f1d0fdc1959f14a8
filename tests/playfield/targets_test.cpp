// Tests of the falling letters: the bottom-out, the cut-off drawing, fall and drift.
#include "playfield/targets.h"

#include <gtest/gtest.h>

#include "playfield/spawner.h"
#include "support/fakes.h"

namespace {

using playfield::CheckBottomOut;
using playfield::DrawAndMoveTarget;
using testing_support::Rig;

constexpr int16_t kCode = 30;

TEST(BottomOut, ALetterSpawnedAtTheTopIsLostInFrame939) {
  Rig r;  // no words: the only letter is the one placed here
  r.g.targets[1] = {200.0, -37.0, 0.0, kCode};
  r.g.ringTail = 2;
  for (int i = 0; i < 938; ++i) playfield::UpdateTargets(r.g, 16);  // 0.512 px a frame
  EXPECT_NEAR(r.g.targets[1].y, 443.256, 1e-6);
  EXPECT_TRUE(r.sounds.empty());
  r.draws.clear();
  playfield::UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.targets[1].keyCode, 0);
  EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});  // no rewind
  EXPECT_TRUE(r.Only("blit").empty());                             // never drawn past the line
}

TEST(BottomOut, ClearsTheFieldOnceAndCostsTwoLevels) {
  for (auto [before, after] : {std::pair{5, 3}, {1, 0}}) {
    Rig r;
    r.g.level = r.g.maxLevel = static_cast<int16_t>(before);
    r.g.hitCount = 6;
    r.g.score = 40;
    r.g.ringHead = 3;
    r.g.ringTail = 9;
    r.g.lockQueue = {3, 5, 0, 0, 0, 0, 0, 0, 0};
    r.g.lockCount = r.g.lockTail = 2;
    for (int i = 3; i <= 8; ++i) r.g.targets[i] = {150.0 + i, 100.0, -150.0, kCode};
    r.g.targets[5].y = 443.5;
    r.g.targets[7].y = 460.0;  // also past the line, but gone before its test
    for (int16_t i = 1; i <= 99; ++i) CheckBottomOut(r.g, i);
    EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});
    EXPECT_EQ(r.g.level, after);
    EXPECT_EQ(r.g.maxLevel, before);
    EXPECT_EQ(r.g.hitCount, 0);
    EXPECT_EQ(r.g.score, 40);
    EXPECT_EQ(r.g.lockCount, 0);
    EXPECT_EQ(r.g.lockTail, 0);
    EXPECT_EQ(r.g.lockQueue[1], 0);
    EXPECT_EQ(r.g.ringHead, 1);
    EXPECT_EQ(r.g.ringTail, 1);
    for (const core::Target& t : r.g.targets)
      EXPECT_TRUE(t.keyCode == 0 && t.x == 0 && t.y == 0 && t.vx == 0);
  }
}

TEST(TargetDrawing, AHitLetterInTheRangeIsNeitherDrawnNorBottomedOut) {
  Rig r;
  r.g.ringTail = 4;
  r.g.targets[1] = {150.0, 100.0, 0.0, kCode};
  r.g.targets[2] = {250.0, 700.0, 0.0, 0};
  r.g.targets[3] = {350.0, 100.0, 0.0, kCode};
  playfield::UpdateTargets(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].x, 350);
  EXPECT_EQ(blits[1].x, 150);
  EXPECT_EQ(r.g.targets[2].y, 700.0);
  EXPECT_TRUE(r.sounds.empty());
}

TEST(TargetDrawing, RowsAboveTheScreenAreCutOff) {
  Rig r;
  r.g.keyGlyphs[kCode] = {98, 74};
  struct Case {
    double y;
    int32_t top, destY;
  };
  for (Case c : {Case{-10.4, 84, 0}, Case{-36.5, 110, 0}, Case{-37.0, 111, 0}, Case{0.0, 74, 0},
                 Case{100.5, 74, 100}}) {
    r.draws.clear();
    r.g.targets[2] = {200.5, c.y, 0.0, kCode};
    DrawAndMoveTarget(r.g, 2, 0);
    const auto blits = r.Only("blit");
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].rect, (media::Rect{98, c.top, 147, 111})) << "y " << c.y;
    EXPECT_EQ(blits[0].y, c.destY) << "y " << c.y;
    EXPECT_EQ(blits[0].x, 200);  // 200.5 halves to even
    EXPECT_EQ(blits[0].flags, 17);
  }
}

TEST(TargetMotion, FallGrowsWithTheLevelAndDriftTurnsAtTheWalls) {
  struct Case {
    int16_t level;
    int32_t ms;
    double x, vx, dy, newX, newVx;
  };
  for (Case c : {Case{3, 16, 101, -150, 0.512, 100, 150}, Case{3, 16, 489, 150, 0.512, 490, -150},
                 Case{3, 16, 102, -125, 0.512, 100, -125},  // exactly on the wall: no turn
                 Case{10, 1000, 300, 0, 60, 300, 0}, Case{0, 500, 300, -4, 10, 298, -4}}) {
    Rig r;
    r.g.level = c.level;
    r.g.targets[2] = {c.x, 10.0, c.vx, kCode};
    DrawAndMoveTarget(r.g, 2, c.ms);
    EXPECT_EQ(r.Only("blit")[0].x, static_cast<int>(c.x));  // drawn before the move
    EXPECT_DOUBLE_EQ(r.g.targets[2].y, 10.0 + c.dy) << c.x;
    EXPECT_EQ(r.g.targets[2].x, c.newX) << c.x;
    EXPECT_EQ(r.g.targets[2].vx, c.newVx) << c.x;
  }
}

}  // namespace
