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
  for (int i = 0; i < 938; ++i) playfield::UpdateTargets(r.g, 16);
  EXPECT_NEAR(r.g.targets[1].y, 443.256, 1e-6);
  EXPECT_EQ(r.g.targets[1].keyCode, kCode);
  EXPECT_TRUE(r.sounds.empty());

  r.draws.clear();
  playfield::UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.targets[1].keyCode, 0);
  EXPECT_EQ(r.g.level, 1);
  EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});  // no rewind
  EXPECT_TRUE(r.Only("blit").empty());                             // never drawn past the line
}

TEST(BottomOut, ClearsTheFieldAndCostsTwoLevels) {
  Rig r;
  r.g.level = 5;
  r.g.maxLevel = 7;
  r.g.hitCount = 6;
  r.g.score = 40;
  r.g.combo = 2;
  r.g.shotActive = true;
  r.g.ringHead = 3;
  r.g.ringTail = 9;
  r.g.lockQueue = {3, 5, 0, 0, 0, 0, 0, 0, 0};
  r.g.lockCount = 2;
  r.g.lockHead = 0;
  r.g.lockTail = 2;
  r.g.popups[1].timeLeft = 120;
  for (int i = 3; i <= 8; ++i) r.g.targets[i] = {150.0 + i, 100.0, -150.0, kCode};
  r.g.targets[5].y = 443.5;
  r.g.targets[7].y = 460.0;  // also past the line, but gone before its test

  for (int16_t i = 1; i <= 99; ++i) CheckBottomOut(r.g, i);

  EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});
  EXPECT_EQ(r.g.level, 3);
  EXPECT_EQ(r.g.maxLevel, 7);
  EXPECT_EQ(r.g.hitCount, 0);
  EXPECT_EQ(r.g.lockCount, 0);
  EXPECT_EQ(r.g.lockHead, 0);
  EXPECT_EQ(r.g.lockTail, 0);
  for (int j = 0; j < 8; ++j) EXPECT_EQ(r.g.lockQueue[j], 0);
  EXPECT_EQ(r.g.ringHead, 1);
  EXPECT_EQ(r.g.ringTail, 1);
  for (const core::Target& t : r.g.targets) {
    EXPECT_EQ(t.keyCode, 0);
    EXPECT_EQ(t.x, 0.0);
    EXPECT_EQ(t.y, 0.0);
    EXPECT_EQ(t.vx, 0.0);
  }
  // Left alone: score, combo, the shot and the pop-ups.
  EXPECT_EQ(r.g.score, 40);
  EXPECT_EQ(r.g.combo, 2);
  EXPECT_TRUE(r.g.shotActive);
  EXPECT_EQ(r.g.popups[1].timeLeft, 120);
}

TEST(BottomOut, LevelNeverGoesBelowZero) {
  for (auto [before, after] : {std::pair{1, 0}, {0, 0}, {2, 0}, {5, 3}}) {
    Rig r;
    r.g.level = static_cast<int16_t>(before);
    r.g.targets[4] = {200.0, 444.0, 0.0, kCode};
    CheckBottomOut(r.g, 4);
    EXPECT_EQ(r.g.level, after) << "from " << before;
  }
}

TEST(BottomOut, OnlyALetterStrictlyPastTheLineCounts) {
  Rig r;
  r.g.targets[4] = {200.0, 443.0, 0.0, kCode};
  r.g.targets[5] = {200.0, 900.0, 0.0, 0};  // hit letter: never a bottom-out
  CheckBottomOut(r.g, 4);
  CheckBottomOut(r.g, 5);
  EXPECT_TRUE(r.sounds.empty());
  EXPECT_EQ(r.g.targets[4].keyCode, kCode);
}

TEST(TargetDrawing, AHitLetterInTheRangeIsSkipped) {
  Rig r;
  r.g.ringHead = 1;
  r.g.ringTail = 4;
  r.g.targets[1] = {150.0, 100.0, 0.0, kCode};
  r.g.targets[2] = {250.0, 700.0, 0.0, 0};
  r.g.targets[3] = {350.0, 100.0, 0.0, kCode};
  playfield::UpdateTargets(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].x, 350);
  EXPECT_EQ(blits[1].x, 150);
  EXPECT_EQ(r.g.targets[2].y, 700.0);  // not moved
  EXPECT_TRUE(r.sounds.empty());
}

TEST(TargetDrawing, RowsAboveTheScreenAreCutOff) {
  Rig r;
  r.g.keyGlyphs[kCode] = {98, 74};
  struct Case {
    double y;
    int32_t top;
    int32_t destY;
  };
  for (Case c : {Case{-10.4, 84, 0}, Case{-36.5, 110, 0}, Case{-37.0, 111, 0}, Case{-50.0, 124, 0},
                 Case{0.0, 74, 0}, Case{100.5, 74, 100}, Case{101.5, 74, 102}}) {
    r.draws.clear();
    r.g.targets[2] = {200.5, c.y, 0.0, kCode};
    DrawAndMoveTarget(r.g, 2, 0);
    const auto blits = r.Only("blit");
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].rect, (media::Rect{98, c.top, 147, 111})) << "y " << c.y;
    EXPECT_EQ(blits[0].y, c.destY) << "y " << c.y;
    EXPECT_EQ(blits[0].x, 200);  // 200.5 halves to even
    EXPECT_EQ(blits[0].src, "sprite");
    EXPECT_EQ(blits[0].flags, 17);
  }
}

TEST(TargetDrawing, TheWholeSourceTopIsRoundedOnAnOddRow) {
  Rig r;
  r.g.keyGlyphs[kCode] = {49, 37};
  r.g.targets[2] = {200.0, -36.5, 0.0, kCode};
  DrawAndMoveTarget(r.g, 2, 0);
  // 37 + 36.5 = 73.5 halves to 74: the last row is cut off as well.
  EXPECT_EQ(r.Only("blit")[0].rect, (media::Rect{49, 74, 98, 74}));
}

TEST(TargetDrawing, CodesWithoutACellUseTheFirstCell) {
  Rig r;
  r.g.keyGlyphs[0] = {5, 5};  // never read for these codes
  for (int16_t code : {int16_t{73}, int16_t{500}, int16_t{-4}}) {
    r.draws.clear();
    r.g.targets[2] = {200.0, 50.0, 0.0, code};
    DrawAndMoveTarget(r.g, 2, 0);
    EXPECT_EQ(r.Only("blit")[0].rect, (media::Rect{0, 0, 49, 37})) << code;
  }
}

TEST(TargetMotion, FallSpeedGrowsWithTheLevel) {
  Rig r;
  r.g.targets[2] = {200.0, 10.0, 0.0, kCode};
  DrawAndMoveTarget(r.g, 2, 16);
  EXPECT_DOUBLE_EQ(r.g.targets[2].y, 10.512);
  r.g.level = 10;
  DrawAndMoveTarget(r.g, 2, 1000);
  EXPECT_DOUBLE_EQ(r.g.targets[2].y, 70.512);
  r.g.level = 0;
  DrawAndMoveTarget(r.g, 2, 500);
  EXPECT_DOUBLE_EQ(r.g.targets[2].y, 80.512);
  // An extreme level and frame do not overflow the product.
  r.g.level = 32767;
  r.g.targets[2].y = 0.0;
  DrawAndMoveTarget(r.g, 2, 2000000000);
  EXPECT_DOUBLE_EQ(r.g.targets[2].y, 131088.0 * 2000000.0);
}

TEST(TargetMotion, DriftingLettersTurnAtTheWalls) {
  Rig r;
  r.g.targets[2] = {101.0, 10.0, -150.0, kCode};
  DrawAndMoveTarget(r.g, 2, 16);  // nx 98.6
  EXPECT_EQ(r.g.targets[2].x, 100.0);
  EXPECT_EQ(r.g.targets[2].vx, 150.0);

  r.g.targets[2] = {489.0, 10.0, 150.0, kCode};
  DrawAndMoveTarget(r.g, 2, 16);
  EXPECT_EQ(r.g.targets[2].x, 490.0);
  EXPECT_EQ(r.g.targets[2].vx, -150.0);

  // Exactly on a wall does not turn.
  r.g.targets[2] = {102.0, 10.0, -125.0, kCode};
  DrawAndMoveTarget(r.g, 2, 16);
  EXPECT_EQ(r.g.targets[2].x, 100.0);
  EXPECT_EQ(r.g.targets[2].vx, -125.0);

  // Drawn where it stood before the move.
  r.draws.clear();
  r.g.targets[2] = {300.0, 10.0, -150.0, kCode};
  DrawAndMoveTarget(r.g, 2, 16);
  EXPECT_EQ(r.Only("blit")[0].x, 300);
  EXPECT_DOUBLE_EQ(r.g.targets[2].x, 297.6);
}

TEST(TargetMotion, SlotsOutsideTheTableAreIgnored) {
  Rig r;
  DrawAndMoveTarget(r.g, 101, 16);
  DrawAndMoveTarget(r.g, -1, 16);
  CheckBottomOut(r.g, 200);
  EXPECT_TRUE(r.draws.empty());
  EXPECT_TRUE(r.sounds.empty());
}

}  // namespace
