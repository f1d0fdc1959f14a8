// The target spawner: letters of words put into the ring at their pace, and the FPS line.
#include "playfield/spawner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "playfield/sprites.h"
#include "state/arith.h"

namespace playfield {
namespace {

constexpr int32_t kSpawnIntervalMs = 300;  // between letters of a word, less the level
constexpr int32_t kFpsWindowMs = 1000;
constexpr double kRowLeft = 100.0;
constexpr double kRowWidth = 390.0;
constexpr double kSpawnY = -37.0;

int32_t AddSaturated(int32_t a, int32_t b) { return state::Saturate32(int64_t{a} + b); }

// The highest word number that may be current: its entry and the one after it
// lie inside the word tables even when the data claims more.
int32_t LastWord(const state::GameState& g) {
  return std::min<int32_t>(g.wordCount, static_cast<int32_t>(g.words.size()) - 1);
}

bool WordsLoaded(const state::GameState& g) { return LastWord(g) > 0 && g.letterCount > 0; }

// Whether idx names a stored letter.
bool IsLetterIndex(const state::GameState& g, int32_t idx) {
  const int32_t last =
      std::min<int32_t>(g.letterCount, static_cast<int32_t>(g.letterKeys.size())) - 1;
  return idx >= 0 && idx <= last;
}

// Practice: a word weighs 1, and this much more for each weak key it holds.
constexpr int32_t kPracticeBoost = 3;

int32_t PracticeWeight(const state::GameState& g, int32_t w) {
  const int32_t end = std::min<int32_t>(g.wordStart[w + 1], g.letterCount);
  int32_t weight = 1;
  for (int16_t key : g.progress.practiceKeys) {
    for (int32_t i = std::max<int32_t>(g.wordStart[w], 0); i < end; ++i) {
      if (IsLetterIndex(g, i) && g.letterKeys[i] == key) {
        weight += kPracticeBoost;
        break;
      }
    }
  }
  return weight;
}

// The word that r picks when each word counts by its practice weight; with
// no weak key in any word, the same word as the plain choice.
int32_t PracticeWord(const state::GameState& g, double r) {
  int64_t total = 0;
  for (int32_t w = 1; w <= LastWord(g); ++w) total += PracticeWeight(g, w);
  double left = r * static_cast<double>(total);
  for (int32_t w = 1; w <= LastWord(g); ++w) {
    left -= PracticeWeight(g, w);
    if (left < 0) return w;
  }
  return LastWord(g);
}

int64_t CharCount(const std::string& s) {
  return static_cast<int64_t>(std::min<size_t>(s.size(), std::numeric_limits<int32_t>::max()));
}

// Places the next letter of the current word (or of a new one) into the ring.
void SpawnLetter(state::GameState& g) {
  state::Pacing& p = g.pacing;
  if (p.wordIndex == 0) p.wordIndex = 1;  // the first word of a run is the first of the data
  p.wordIndex = static_cast<int16_t>(std::clamp<int32_t>(p.wordIndex, 1, LastWord(g)));

  // Is the letter about to be placed the last of its word? Tested on the old word.
  const int32_t w = p.wordIndex;
  const int32_t start = g.wordStart[w];
  const int32_t length = g.wordStart[w + 1] - start;
  const bool lastLetter = p.letterPos == length - 1 || start + p.letterPos == g.letterCount - 1;
  if (lastLetter) {
    const int64_t chars = CharCount(g.words[w]);
    p.spawnClock = state::Saturate32(-(chars * (20 - int64_t{g.level})) * 20);
  } else {
    p.spawnClock = 0;
  }

  // A new word when the previous spawn placed the last letter. A position that
  // names no stored letter (damaged tables) also starts a new word.
  const bool wordDone = p.letterPos == length || start + p.letterPos == g.letterCount ||
                        !IsLetterIndex(g, start + p.letterPos);
  if (wordDone) {
    const double r1 = g.rng.NextDouble();
    const double r2 = g.rng.NextDouble();
    const double r3 = g.rng.NextDouble();
    p.wordX = state::Saturate16(state::RoundHalfEven(r1 * 390 + 100));
    p.wordVx = state::Saturate16(state::RoundHalfEven(std::floor(2 * r2 - 1) * 150));
    p.letterPos = 0;
    const int32_t chosen = g.progress.practiceKeys.empty()
                               ? state::RoundHalfEven(std::floor(r3 * g.wordCount + 1))
                               : PracticeWord(g, r3);
    p.wordIndex = static_cast<int16_t>(std::clamp<int32_t>(chosen, 1, LastWord(g)));
  }

  const int32_t letter = g.wordStart[p.wordIndex] + p.letterPos;
  if (!IsLetterIndex(g, letter)) return;  // damaged word table: place nothing

  state::Target& t = g.targets[g.ringTail];
  t.keyCode = g.letterKeys[letter];
  p.letterPos = state::Saturate16(int32_t{p.letterPos} + 1);

  if (g.level > 4 && p.wordVx != 0) {
    // A drifting word: every letter starts at the word's x.
    t.x = p.wordX;
    t.vx = p.wordVx;
  } else {
    // A word in a row: evenly spaced between 100 and 490 in typing order.
    const double chars = static_cast<double>(CharCount(g.words[p.wordIndex]));
    t.x = p.letterPos / (chars + 1) * kRowWidth + kRowLeft;
    t.vx = 0.0;
  }
  t.y = kSpawnY;
  g.ringTail = NextRingSlot(g.ringTail);
}

void DrawFpsLine(state::GameState& g) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.0f", g.pacing.fpsValue);
  g.backBuffer->DrawText(0, 460, std::string("FPS ") + digits);
}

}  // namespace

void PaceSpawning(state::GameState& g, int32_t elapsedMs) {
  state::Pacing& p = g.pacing;
  p.spawnClock = AddSaturated(p.spawnClock, elapsedMs);
  p.fpsClock = AddSaturated(p.fpsClock, elapsedMs);
  p.fpsFrames += 1;

  if (p.fpsClock >= kFpsWindowMs) {
    p.fpsValue = p.fpsFrames;
    p.fpsClock = 0;
    p.fpsFrames = 0;
  }
  DrawFpsLine(g);

  const int32_t threshold = kSpawnIntervalMs - g.level;
  if (p.spawnClock > threshold) {
    if (!WordsLoaded(g)) {
      // Nothing to spawn: hold the clock at "due" instead of letting it run on.
      p.spawnClock = threshold + 1;
    } else if (IsRingSlot(g.ringTail) && NextRingSlot(g.ringTail) != g.ringHead) {
      SpawnLetter(g);
    }
    // Otherwise the ring is full: the clock keeps running and the letter
    // comes in the first frame after the oldest slot is freed.
  }
}

}  // namespace playfield
