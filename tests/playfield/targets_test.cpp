// Tests of the falling letters: the bottom-out, the cut-off drawing, fall and drift.
#include "playfield/targets.h"

#include <gtest/gtest.h>

#include <tuple>

#include "playfield/spawner.h"
#include "support/fakes.h"

namespace {

using playfield::CheckBottomOut;
using playfield::DrawAndMoveTarget;
using testing_support::Rig;

constexpr int16_t kCode = 30;

TEST(BottomOut, ALetterSpawnedAtTheTopIsLostInFrame939) {
  Rig r;  // no words: the only letters are the ones placed here
  r.g.targets[1] = {200.0, -37.0, 0.0, kCode};
  r.g.targets[2] = {250.0, 700.0, 0.0, 0};  // hit already: neither drawn nor bottomed out
  r.g.ringTail = 3;
  for (int i = 0; i < 938; ++i) playfield::UpdateTargets(r.g, 16);  // 0.512 px a frame
  EXPECT_NEAR(r.g.targets[1].y, 443.256, 1e-6);
  EXPECT_EQ(r.g.targets[2].y, 700.0);
  EXPECT_EQ(r.Only("blit").size(), 938u);
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
    r.g.ringHead = 3;
    r.g.ringTail = 9;
    r.g.lockQueue = {3, 5, 0, 0, 0, 0, 0, 0, 0};
    r.g.lockCount = r.g.lockTail = 2;
    for (int i = 3; i <= 8; ++i) r.g.targets[i] = {150.0 + i, 100.0, -150.0, kCode};
    r.g.targets[5].y = 443.5;
    r.g.targets[7].y = 460.0;  // also past the line, but gone before its test
    for (int16_t i = 1; i <= 99; ++i) CheckBottomOut(r.g, i);
    EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});
    EXPECT_EQ(std::tuple(r.g.level, r.g.maxLevel, r.g.hitCount), std::tuple(after, before, 0));
    EXPECT_EQ(std::tuple(r.g.lockCount, r.g.lockTail, r.g.lockQueue[1]), std::tuple(0, 0, 0));
    EXPECT_EQ(std::tuple(r.g.ringHead, r.g.ringTail), std::tuple(1, 1));
    for (const state::Target& t : r.g.targets)
      EXPECT_EQ(std::tuple(t.x, t.y, t.vx, t.keyCode), std::tuple(0.0, 0.0, 0.0, 0));
  }
}

TEST(TargetDrawing, RowsAboveTheScreenAreCutOff) {
  Rig r;
  r.g.keyGlyphs[kCode] = {98, 74};
  for (auto [y, top, destY] :
       {std::tuple{-10.4, 84, 0}, {-36.5, 110, 0}, {-37.0, 111, 0}, {100.5, 74, 100}}) {
    r.draws.clear();
    r.g.targets[2] = {200.5, y, 0.0, kCode};
    DrawAndMoveTarget(r.g, 2, 0);
    ASSERT_EQ(r.Only("blit").size(), 1u);
    const auto b = r.Only("blit")[0];
    EXPECT_EQ(b.rect, (media::Rect{98, top, 147, 111})) << "y " << y;
    EXPECT_EQ(std::tuple(b.x, b.y, b.flags), std::tuple(200, destY, 17)) << "y " << y;
  }
}

TEST(TargetMotion, FallGrowsWithTheLevelAndDriftTurnsAtTheWalls) {
  // level, ms, x, vx, fall, new x, new vx
  for (auto [level, ms, x, vx, dy, newX, newVx] :
       {std::tuple{3, 16, 101.0, -150.0, 0.512, 100.0, 150.0},
        {3, 16, 489.0, 150.0, 0.512, 490.0, -150.0},
        {3, 16, 102.0, -125.0, 0.512, 100.0, -125.0},  // exactly on the wall: no turn
        {10, 1000, 300.0, 0.0, 60.0, 300.0, 0.0},
        {0, 500, 300.0, -4.0, 10.0, 298.0, -4.0}}) {
    Rig r;
    r.g.level = static_cast<int16_t>(level);
    r.g.targets[2] = {x, 10.0, vx, kCode};
    DrawAndMoveTarget(r.g, 2, ms);
    EXPECT_EQ(r.Only("blit")[0].x, static_cast<int>(x));  // drawn before the move
    EXPECT_DOUBLE_EQ(r.g.targets[2].y, 10.0 + dy) << x;
    EXPECT_EQ(std::tuple(r.g.targets[2].x, r.g.targets[2].vx), std::tuple(newX, newVx)) << x;
  }
}

}  // namespace
