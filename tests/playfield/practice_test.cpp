// Practice: the spawner favours words with the weakest keys, and only when asked.
#include <gtest/gtest.h>

#include <algorithm>

#include "playfield/targets.h"
#include "support/fakes.h"

namespace {

using playfield::UpdateTargets;
using testing_support::Rig;

constexpr auto CodeOf = Rig::CodeOf;

// The words chosen for `choices` new words from the seed: each one's index.
std::vector<int16_t> ChosenWords(uint64_t seed, const std::vector<int16_t>& practiceKeys,
                                 int choices) {
  Rig r;
  r.g.rng.Seed(seed);
  r.LoadWords({"ASDF", "QUIT", "HJKL", "FADS", "JAZZ", "SALAD", "FLASK", "DASH", "GLAD", "HALL"});
  r.g.progress.practiceKeys = practiceKeys;
  std::vector<int16_t> words;
  for (int i = 0; i < choices; ++i) {
    // The current word is done, so the next spawn starts a new one.
    const int16_t w = std::max<int16_t>(r.g.pacing.wordIndex, 1);
    r.g.pacing.letterPos = static_cast<int16_t>(r.g.wordStart[w + 1] - r.g.wordStart[w]);
    r.g.pacing.spawnClock = 400;
    r.g.ringHead = r.g.ringTail = 1;
    UpdateTargets(r.g, 0);
    words.push_back(r.g.pacing.wordIndex);
  }
  return words;
}

TEST(Practice, WordsWithTheWeakestKeysComeClearlyMoreOften) {
  const std::vector<int16_t> weak = {CodeOf('Q'), CodeOf('Z')};  // in words 2 and 5 only
  int plain = 0, practised = 0, total = 0;
  for (uint64_t seed = 1; seed <= 300; ++seed) {
    for (int16_t w : ChosenWords(seed, {}, 20)) plain += (w == 2 || w == 5);
    for (int16_t w : ChosenWords(seed, weak, 20)) {
      ASSERT_TRUE(w >= 1 && w <= 10);
      practised += (w == 2 || w == 5);
    }
    total += 20;
    // Keys no word holds change nothing: the same words from the same draws.
    EXPECT_EQ(ChosenWords(seed, {CodeOf('X')}, 20), ChosenWords(seed, {}, 20));
  }
  // Two words in ten: a fifth without practice; weighed four to one, half with it.
  EXPECT_NEAR(plain / double(total), 0.2, 0.03);
  EXPECT_NEAR(practised / double(total), 0.5, 0.03);
}

}  // namespace
