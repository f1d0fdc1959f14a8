// Tests of the spawner: pacing, word placement, the FPS line, the ring and the idle cases.
#include "playfield/spawner.h"

#include <gtest/gtest.h>

#include <tuple>

#include "state/arith.h"
#include "support/fakes.h"

namespace {

using playfield::UpdateTargets;
using testing_support::Rig;

int16_t CodeOf(char c) { return static_cast<int16_t>(c - 'A' + 16); }  // any distinct code

// Fills the word tables the way the word data file leaves them.
void LoadWords(state::GameState& g, const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    g.words[++g.wordCount] = word;
    g.wordStart[g.wordCount] = g.letterCount;
    for (char c : word) g.letterKeys[g.letterCount++] = CodeOf(c);
  }
  g.wordStart[g.wordCount + 1] = g.letterCount;
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
  // 19 x 16 = 304 > 297; 30 x 10 = 300 > 297 but not > 300.
  for (auto [level, ms, frames, pause] :
       {std::tuple{3, 16, 19, -1020}, {3, 10, 30, -1020}, {0, 10, 31, -1200}}) {
    Rig r;
    r.g.level = static_cast<int16_t>(level);
    LoadWords(r.g, {"CAT"});
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(FramesUntilSpawn(r, ms), frames) << "level " << level;
      const state::Target& t = r.g.targets[i];  // at 197.5, 295, 392.5
      EXPECT_EQ(std::tuple(t.x, t.vx, t.keyCode),
                std::tuple(100 + 97.5 * i, 0.0, CodeOf("CAT"[i - 1])));
    }
    EXPECT_EQ(r.g.pacing.spawnClock, pause);
    if (ms == 16) {
      EXPECT_EQ(FramesUntilSpawn(r, ms), 83);  // -1020 + 16n > 297
    }
  }
}

TEST(SpawnPlacement, FirstWordIsWordOneLaterWordsAreDrawn) {
  Rig r;
  r.g.rng.Seed(7);
  LoadWords(r.g, {"AB", "CD", "EF", "GH", "IJ"});
  state::Random expected = r.g.rng;
  for (int i = 0; i < 3; ++i) FramesUntilSpawn(r, 16);
  EXPECT_EQ(std::tuple(r.g.targets[1].keyCode, r.g.targets[2].keyCode),
            std::tuple(CodeOf('A'), CodeOf('B')));
  const double r1 = expected.NextDouble(), r2 = expected.NextDouble();
  const int w = static_cast<int>(expected.NextDouble() * 5 + 1);
  EXPECT_EQ(r.g.pacing.wordX, state::RoundHalfEven(r1 * 390 + 100));
  EXPECT_EQ(r.g.pacing.wordVx, r2 < 0.5 ? -150 : 0);
  EXPECT_EQ(r.g.targets[3].keyCode, CodeOf(r.g.words[w][0]));
}

TEST(SpawnPlacement, DriftOnlyFromLevelFive) {
  for (int16_t level : {4, 5}) {
    Rig r;
    r.g.level = level;
    LoadWords(r.g, {"DRIFT"});
    r.g.pacing = {.spawnClock = 400, .wordIndex = 1, .wordX = 250, .wordVx = -150};
    UpdateTargets(r.g, 0);
    const state::Target& t = r.g.targets[1];
    const auto drift = level == 4 ? std::tuple(100 + 390 / 6.0, 0.0) : std::tuple(250.0, -150.0);
    EXPECT_EQ(std::tuple(t.x, t.vx), drift) << "level " << level;
    EXPECT_EQ(t.y, -37.0);
  }
}

TEST(FpsLine, ShowsTheFramesOfTheLastWindow) {
  Rig r;
  for (int i = 0; i < 62; ++i) UpdateTargets(r.g, 16);
  EXPECT_EQ(r.Only("text").back().text, "FPS 0");
  UpdateTargets(r.g, 16);  // 63 x 16 = 1008 ms
  const auto texts = r.Only("text");
  EXPECT_EQ(std::tuple(texts.size(), texts.back().y, texts.back().text),
            std::tuple(63u, 460, "FPS 63"));
}

TEST(Ring, AFullRingWaitsThenASpawnInto99WrapsAndDrawsNewestToOldest) {
  Rig r;
  LoadWords(r.g, {"ABCDEFGHIJ"});
  for (int i = 1; i <= 99; ++i) r.g.targets[i] = {i + 100.0, 100.0, 0.0, CodeOf('Z')};
  r.g.ringTail = 99;  // 98 letters live: the ring is full
  r.g.pacing.spawnClock = 400;
  UpdateTargets(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.ringTail, r.g.targets[99].keyCode), std::tuple(99, CodeOf('Z')));
  r.g.ringHead = 2;  // the oldest letter was hit: the waiting letter comes at once
  UpdateTargets(r.g, 16);
  EXPECT_EQ(std::tuple(r.g.ringTail, r.g.targets[99].keyCode), std::tuple(1, CodeOf('A')));
  r.draws.clear();
  r.g.targets[99].x = 199;
  UpdateTargets(r.g, 16);
  const auto blits = r.Only("blit");
  ASSERT_EQ(blits.size(), 98u);  // 99 down to 2, and nothing from 0 down
  for (int k = 0; k < 98; ++k) EXPECT_EQ(blits[k].x, 199 - k);
}

TEST(SpawnIdle, NoWordsNothingSpawnsYetEverySlotIsTestedForTheBottom) {
  Rig r;
  r.g.ringHead = r.g.ringTail = 40;  // empty range
  r.g.targets[99] = {200.0, 450.0, 0.0, CodeOf('A')};
  for (int i = 0; i < 2000; ++i) UpdateTargets(r.g, 16);
  EXPECT_EQ(r.sounds, std::vector<std::string>{"sndFueen.play"});
  EXPECT_TRUE(r.Only("blit").empty());
  EXPECT_EQ(std::tuple(r.g.ringTail, r.g.pacing.letterPos), std::tuple(1, 0));
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
