// Tests of the spawner: pacing, word placement, the FPS line, the ring and the idle cases.
#include "playfield/spawner.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/arith.h"
#include "support/fakes.h"
#include "word_fixture.h"

namespace {

using playfield::UpdateTargets;
using playfield_test::CodeOf;
using playfield_test::LoadWords;
using testing_support::Rig;

// Runs frames until a letter is spawned; returns how many frames that took.
int FramesUntilSpawn(Rig& r, int32_t ms, int limit = 1000) {
  const int16_t tail = r.g.ringTail;
  for (int n = 1; n <= limit; ++n) {
    UpdateTargets(r.g, ms);
    if (r.g.ringTail != tail) return n;
  }
  return -1;
}

std::string LastFpsText(const Rig& r) {
  std::string last;
  for (const auto& c : r.Only("text")) {
    if (c.x == 0 && c.y == 460) last = c.text;
  }
  return last;
}

TEST(SpawnPacing, WithinAWordEveryNineteenthFrameAtLevelThree) {
  Rig r;
  LoadWords(r.g, {"ABCDEFGHIJ"});
  EXPECT_EQ(FramesUntilSpawn(r, 16), 19);  // 304 > 297
  EXPECT_EQ(r.g.pacing.spawnClock, 0);
  EXPECT_EQ(FramesUntilSpawn(r, 16), 19);
  EXPECT_EQ(FramesUntilSpawn(r, 16), 19);
  EXPECT_EQ(r.g.ringTail, 4);
  EXPECT_EQ(r.g.targets[1].keyCode, CodeOf('A'));
  EXPECT_EQ(r.g.targets[3].keyCode, CodeOf('C'));
}

TEST(SpawnPacing, AtMostOneLetterPerFrameAndTheOverrunIsLost) {
  Rig r;
  LoadWords(r.g, {"ABCDEFGHIJ"});
  UpdateTargets(r.g, 5000);
  EXPECT_EQ(r.g.ringTail, 2);
  EXPECT_EQ(r.g.pacing.spawnClock, 0);
}

TEST(SpawnPacing, ThreeLetterWordInARowThenThePause) {
  Rig r;
  LoadWords(r.g, {"CAT"});
  for (int i = 0; i < 3; ++i) FramesUntilSpawn(r, 16);
  EXPECT_DOUBLE_EQ(r.g.targets[1].x, 197.5);
  EXPECT_DOUBLE_EQ(r.g.targets[2].x, 295.0);
  EXPECT_DOUBLE_EQ(r.g.targets[3].x, 392.5);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(r.g.targets[i].vx, 0.0);
    EXPECT_EQ(r.g.targets[i].keyCode, CodeOf("CAT"[i - 1]));
  }
  // The third letter sets the clock to -(3 x 17) x 20.
  EXPECT_EQ(r.g.pacing.spawnClock, -1020);
  // -1020 + 16n > 297 first at n = 83.
  EXPECT_EQ(FramesUntilSpawn(r, 16), 83);
  EXPECT_EQ(r.g.pacing.spawnClock, 0);  // a new word's first letter is not the last
  EXPECT_EQ(r.g.pacing.letterPos, 1);
}

TEST(SpawnPacing, LevelZeroThresholdAndPause) {
  Rig r;
  r.g.level = 0;
  LoadWords(r.g, {"CAT"});
  EXPECT_EQ(FramesUntilSpawn(r, 10), 31);  // 300 is not above 300
  FramesUntilSpawn(r, 10);
  FramesUntilSpawn(r, 10);
  EXPECT_EQ(r.g.pacing.spawnClock, -1200);  // 400 ms per character
}

TEST(SpawnPacing, AboveLevelTwentyThePauseIsAHeadStart) {
  Rig r;
  r.g.level = 25;
  LoadWords(r.g, {"CAT"});
  r.g.pacing.wordIndex = 1;
  r.g.pacing.letterPos = 2;
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 0);
  EXPECT_EQ(r.g.pacing.spawnClock, 300);  // -(3 x -5) x 20
  UpdateTargets(r.g, 0);
  EXPECT_EQ(r.g.ringTail, 3);  // 300 > 275 at once
}

TEST(SpawnPacing, TheClockSaturatesInsteadOfOverflowing) {
  Rig r;
  LoadWords(r.g, {"CAT"});
  r.g.ringHead = 2;  // full ring: nothing is spawned and the clock runs on
  r.g.ringTail = 1;
  r.g.pacing.spawnClock = std::numeric_limits<int32_t>::max() - 5;
  UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.pacing.spawnClock, std::numeric_limits<int32_t>::max());

  Rig s;
  s.g.level = 32767;
  s.g.words[1] = std::string(30000, 'A');
  s.g.wordCount = 1;
  s.g.letterCount = 1;
  s.g.wordStart[2] = 1;
  s.g.letterKeys[0] = CodeOf('A');
  s.g.pacing.spawnClock = std::numeric_limits<int32_t>::max() - 1;
  s.g.pacing.wordIndex = 1;
  UpdateTargets(s.g, 0);
  EXPECT_EQ(s.g.pacing.spawnClock, std::numeric_limits<int32_t>::max());
}

TEST(SpawnPlacement, DriftOnlyFromLevelFive) {
  for (int16_t level : {4, 5}) {
    Rig r;
    r.g.level = level;
    LoadWords(r.g, {"DRIFT"});
    r.g.pacing.wordIndex = 1;
    r.g.pacing.wordX = 250;
    r.g.pacing.wordVx = -150;
    r.g.pacing.spawnClock = 400;
    UpdateTargets(r.g, 0);
    UpdateTargets(r.g, 0);  // the clock is 0 now: no second spawn
    ASSERT_EQ(r.g.ringTail, 2) << "level " << level;
    if (level == 4) {
      EXPECT_DOUBLE_EQ(r.g.targets[1].x, 100.0 + 390.0 / 6.0);
      EXPECT_EQ(r.g.targets[1].vx, 0.0);
    } else {
      EXPECT_EQ(r.g.targets[1].x, 250.0);
      EXPECT_EQ(r.g.targets[1].vx, -150.0);
    }
    EXPECT_EQ(r.g.targets[1].y, -37.0);
  }
}

TEST(SpawnPlacement, FirstWordIsWordOneThenThreeDrawsPickTheNext) {
  Rig r;
  r.g.rng.Seed(7);
  LoadWords(r.g, {"AB", "CD", "EF", "GH", "IJ"});
  core::Random untouched = r.g.rng;
  FramesUntilSpawn(r, 16);
  FramesUntilSpawn(r, 16);
  EXPECT_EQ(r.g.targets[1].keyCode, CodeOf('A'));
  EXPECT_EQ(r.g.targets[2].keyCode, CodeOf('B'));
  // No random number was used for word 1.
  EXPECT_EQ(r.g.rng.NextDouble(), untouched.NextDouble());

  core::Random expected = r.g.rng;
  const double r1 = expected.NextDouble();
  const double r2 = expected.NextDouble();
  const double r3 = expected.NextDouble();
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 0);
  EXPECT_EQ(r.g.pacing.wordX, core::RoundHalfEven(r1 * 390 + 100));
  EXPECT_EQ(r.g.pacing.wordVx, r2 < 0.5 ? -150 : 0);
  const int w = static_cast<int>(r3 * 5 + 1);
  EXPECT_EQ(r.g.pacing.wordIndex, w);
  EXPECT_EQ(r.g.targets[3].keyCode, CodeOf(r.g.words[w][0]));
  EXPECT_EQ(r.g.pacing.letterPos, 1);
}

TEST(FpsLine, CountsFramesOfAWindowOfAtLeastOneSecond) {
  Rig r;
  for (int i = 1; i <= 62; ++i) {
    UpdateTargets(r.g, 16);
    ASSERT_EQ(LastFpsText(r), "FPS 0") << "frame " << i;
  }
  UpdateTargets(r.g, 16);  // 1008 ms
  EXPECT_EQ(LastFpsText(r), "FPS 63");
  EXPECT_EQ(r.g.pacing.fpsClock, 0);
  EXPECT_EQ(r.g.pacing.fpsFrames, 0.0);
  UpdateTargets(r.g, 16);
  EXPECT_EQ(LastFpsText(r), "FPS 63");

  Rig t;
  for (int i = 0; i < 100; ++i) UpdateTargets(t.g, 10);
  EXPECT_EQ(LastFpsText(t), "FPS 100");
  EXPECT_EQ(t.Only("text").size(), 100u);  // once every frame
}

TEST(RingDrawing, SpawnIntoSlot99WrapsAndDrawsNewestToOldest) {
  Rig r;
  LoadWords(r.g, {"ABCDEFGHIJ"});
  for (int i = 60; i <= 98; ++i) r.g.targets[i] = {double(i + 100), 100.0, 0.0, CodeOf('A')};
  r.g.ringHead = 60;
  r.g.ringTail = 99;
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 0);
  EXPECT_EQ(r.g.ringTail, 1);
  EXPECT_EQ(r.g.targets[99].keyCode, CodeOf('A'));

  r.draws.clear();
  r.g.targets[99].x = 199;
  UpdateTargets(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 40u);
  for (size_t k = 0; k < blits.size(); ++k) EXPECT_EQ(blits[k].x, 199 - static_cast<int>(k));
}

TEST(RingDrawing, EmptyRangeDrawsNothingButStillTestsTheBottom) {
  Rig r;
  r.g.ringHead = r.g.ringTail = 40;
  r.g.targets[70] = {200.0, 450.0, 0.0, CodeOf('A')};
  UpdateTargets(r.g, 16);
  EXPECT_TRUE(r.Only("blit").empty());
  EXPECT_EQ(r.g.targets[70].keyCode, 0);
  EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});
}

TEST(SpawnIdle, NoWordsMeansNothingSpawnsAndNothingGrows) {
  Rig r;  // wordCount 0
  for (int i = 0; i < 2000; ++i) UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.ringTail, 1);
  EXPECT_EQ(r.g.pacing.letterPos, 0);
  EXPECT_EQ(r.g.pacing.wordIndex, 0);
  EXPECT_LE(r.g.pacing.spawnClock, 301 - r.g.level);
  EXPECT_EQ(LastFpsText(r), "FPS 63");  // the line and its clock still run

  Rig s;  // a word table without letters is no words either
  s.g.wordCount = 3;
  for (int i = 0; i < 100; ++i) UpdateTargets(s.g, 16);
  EXPECT_EQ(s.g.ringTail, 1);
  EXPECT_EQ(s.g.pacing.letterPos, 0);
}

TEST(SpawnIdle, AFullRingWaitsForTheOldestSlot) {
  Rig r;
  LoadWords(r.g, {"ABCDEFGHIJ"});
  for (int i = 1; i <= 99; ++i) r.g.targets[i] = {200.0, 100.0, 0.0, CodeOf('Z')};
  r.g.ringHead = 10;
  r.g.ringTail = 9;  // 98 letters live
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.ringTail, 9);
  EXPECT_EQ(r.g.targets[9].keyCode, CodeOf('Z'));
  EXPECT_EQ(r.g.pacing.spawnClock, 416);
  EXPECT_EQ(r.g.pacing.letterPos, 0);
  EXPECT_EQ(r.g.pacing.wordIndex, 0);

  r.g.ringHead = 11;  // the oldest letter was hit
  UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.ringTail, 10);
  EXPECT_EQ(r.g.targets[9].keyCode, CodeOf('A'));
}

TEST(SpawnIdle, WordOneHundredEndsInsideTheTable) {
  Rig r;
  std::vector<std::string> words;
  for (int i = 0; i < 99; ++i) words.push_back("AB");
  words.push_back("XYZ");
  LoadWords(r.g, words);
  ASSERT_EQ(r.g.wordStart[101], r.g.letterCount);
  r.g.pacing.wordIndex = 100;
  r.g.pacing.letterPos = 2;
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 0);
  EXPECT_EQ(r.g.targets[1].keyCode, CodeOf('Z'));
  EXPECT_EQ(r.g.pacing.spawnClock, -1020);

  // Without the extra entry the second clause alone ends the word.
  r.g.wordStart[101] = 0;
  r.g.pacing.letterPos = 2;
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 0);
  EXPECT_EQ(r.g.pacing.spawnClock, -1020);
}

TEST(SpawnIdle, DamagedPacingNeverReadsOutsideTheTables) {
  Rig r;
  LoadWords(r.g, {"CAT", "DOG"});
  r.g.pacing.wordIndex = 300;   // past the words
  r.g.pacing.letterPos = 5000;  // past every letter
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 0);
  EXPECT_GE(r.g.pacing.wordIndex, 1);
  EXPECT_LE(r.g.pacing.wordIndex, 2);
  EXPECT_EQ(r.g.pacing.letterPos, 1);
  EXPECT_NE(r.g.targets[1].keyCode, 0);

  Rig s;
  LoadWords(s.g, {"CAT"});
  s.g.wordStart[1] = 2000;  // a start past letterKeys
  s.g.pacing.wordIndex = 1;
  s.g.pacing.spawnClock = 400;
  UpdateTargets(s.g, 0);
  EXPECT_EQ(s.g.ringTail, 1);
}

}  // namespace
