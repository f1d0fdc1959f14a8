// Tests of the spawner: pacing, word placement, the FPS line, the ring and the idle cases.
#include "playfield/spawner.h"

#include <gtest/gtest.h>

#include "core/arith.h"
#include "support/fakes.h"

namespace {

using playfield::UpdateTargets;
using testing_support::Rig;

// A stand-in key code per character; only its being non-zero and distinct matters.
int16_t CodeOf(char c) { return static_cast<int16_t>(c - 'A' + 16); }

// Fills the word tables the way the word data file leaves them.
void LoadWords(core::GameState& g, const std::vector<std::string>& words) {
  int16_t letters = 0;
  for (size_t w = 1; w <= words.size(); ++w) {
    g.words[w] = words[w - 1];
    g.wordStart[w] = letters;
    for (char c : words[w - 1]) g.letterKeys[letters++] = CodeOf(c);
  }
  g.wordCount = static_cast<int16_t>(words.size());
  g.letterCount = letters;
  g.wordStart[words.size() + 1] = letters;
}

// Runs frames until a letter is spawned; returns how many frames that took.
int FramesUntilSpawn(Rig& r, int32_t ms) {
  const int16_t tail = r.g.ringTail;
  for (int n = 1; n <= 1000; ++n) {
    UpdateTargets(r.g, ms);
    if (r.g.ringTail != tail) return n;
  }
  return -1;
}

TEST(SpawnPacing, ThresholdInARowAndThePauseAfterTheWord) {
  struct Case {
    int16_t level;
    int32_t ms;
    int frames;
    int32_t pause;
  };
  // 19 x 16 = 304 > 297; 30 x 10 = 300 > 297 but not > 300.
  for (Case c : {Case{3, 16, 19, -1020}, Case{3, 10, 30, -1020}, Case{0, 10, 31, -1200}}) {
    Rig r;
    r.g.level = c.level;
    LoadWords(r.g, {"CAT"});
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(FramesUntilSpawn(r, c.ms), c.frames) << "level " << c.level;
      EXPECT_EQ(r.g.targets[i].keyCode, CodeOf("CAT"[i - 1]));
      EXPECT_EQ(r.g.targets[i].vx, 0.0);
      EXPECT_EQ(r.g.targets[i].x, 100.0 + 97.5 * i);  // 197.5, 295, 392.5
    }
    EXPECT_EQ(r.g.pacing.spawnClock, c.pause);
  }
  Rig r;
  LoadWords(r.g, {"CAT"});
  for (int i = 0; i < 3; ++i) FramesUntilSpawn(r, 16);
  EXPECT_EQ(FramesUntilSpawn(r, 16), 83);  // -1020 + 16n > 297
  EXPECT_EQ(r.g.pacing.spawnClock, 0);
  UpdateTargets(r.g, 5000);  // one letter per frame however long, the overrun lost
  EXPECT_EQ(r.g.ringTail, 6);
  EXPECT_EQ(r.g.pacing.spawnClock, 0);
}

TEST(SpawnPlacement, FirstWordIsWordOneLaterWordsAreDrawn) {
  Rig r;
  r.g.rng.Seed(7);
  LoadWords(r.g, {"AB", "CD", "EF", "GH", "IJ"});
  core::Random expected = r.g.rng;
  FramesUntilSpawn(r, 16);
  FramesUntilSpawn(r, 16);
  EXPECT_EQ(r.g.targets[1].keyCode, CodeOf('A'));
  EXPECT_EQ(r.g.targets[2].keyCode, CodeOf('B'));
  const double r1 = expected.NextDouble(), r2 = expected.NextDouble();
  const int w = static_cast<int>(expected.NextDouble() * 5 + 1);
  FramesUntilSpawn(r, 16);
  EXPECT_EQ(r.g.pacing.wordX, core::RoundHalfEven(r1 * 390 + 100));
  EXPECT_EQ(r.g.pacing.wordVx, r2 < 0.5 ? -150 : 0);
  EXPECT_EQ(r.g.pacing.wordIndex, w);
  EXPECT_EQ(r.g.targets[3].keyCode, CodeOf(r.g.words[w][0]));
}

TEST(SpawnPlacement, DriftOnlyFromLevelFive) {
  for (int16_t level : {4, 5}) {
    Rig r;
    r.g.level = level;
    LoadWords(r.g, {"DRIFT"});
    r.g.pacing = {.spawnClock = 400, .wordIndex = 1, .wordX = 250, .wordVx = -150};
    UpdateTargets(r.g, 0);
    const core::Target& t = r.g.targets[1];
    EXPECT_EQ(t.y, -37.0);
    EXPECT_EQ(t.x, level == 4 ? 100.0 + 390.0 / 6.0 : 250.0) << "level " << level;
    EXPECT_EQ(t.vx, level == 4 ? 0.0 : -150.0) << "level " << level;
  }
}

TEST(FpsLine, ShowsTheFramesOfTheLastWindow) {
  Rig r;
  for (int i = 1; i <= 63; ++i) {
    r.draws.clear();
    UpdateTargets(r.g, 16);
    const auto texts = r.Only("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].y, 460);
    EXPECT_EQ(texts[0].text, i < 63 ? "FPS 0" : "FPS 63") << "frame " << i;  // 1008 ms
  }
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
  r.draws.clear();
  r.g.targets[99].x = 199;
  UpdateTargets(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 40u);
  for (size_t k = 0; k < blits.size(); ++k) EXPECT_EQ(blits[k].x, 199 - static_cast<int>(k));
}

TEST(RingDrawing, EmptyRangeDrawsNothingButEverySlotIsTestedForTheBottom) {
  Rig r;
  r.g.ringHead = r.g.ringTail = 40;
  r.g.targets[99] = {200.0, 450.0, 0.0, CodeOf('A')};
  UpdateTargets(r.g, 16);
  EXPECT_TRUE(r.Only("blit").empty());
  EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});
}

TEST(SpawnIdle, NoWordsNothingSpawnsAndLetterPosStays) {
  Rig r;
  for (int i = 0; i < 2000; ++i) UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.ringTail, 1);
  EXPECT_EQ(r.g.pacing.letterPos, 0);
}

TEST(SpawnIdle, AFullRingIsNeverOverwritten) {
  Rig r;
  LoadWords(r.g, {"ABCDEFGHIJ"});
  for (int i = 1; i <= 99; ++i) r.g.targets[i] = {200.0, 100.0, 0.0, CodeOf('Z')};
  r.g.ringHead = 10;
  r.g.ringTail = 9;  // 98 letters live
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.ringTail, 9);
  EXPECT_EQ(r.g.targets[9].keyCode, CodeOf('Z'));
  r.g.ringHead = 11;  // the oldest letter was hit: the waiting letter comes at once
  UpdateTargets(r.g, 16);
  EXPECT_EQ(r.g.targets[9].keyCode, CodeOf('A'));
}

TEST(SpawnIdle, WordOneHundredEndsInsideTheTable) {
  Rig r;
  std::vector<std::string> words(99, "AB");
  words.push_back("XYZ");
  LoadWords(r.g, words);
  for (int16_t end : {r.g.letterCount, int16_t{0}}) {  // 0: the second clause alone decides
    r.g.wordStart[101] = end;
    r.g.pacing = {.spawnClock = 400, .letterPos = 2, .wordIndex = 100};
    UpdateTargets(r.g, 0);
    EXPECT_EQ(r.g.targets[r.g.ringTail - 1].keyCode, CodeOf('Z'));
    EXPECT_EQ(r.g.pacing.spawnClock, -1020);
  }
}

}  // namespace
