// The word data reader on random bytes; every rule of the format is a golden game
// (tests/golden/words_*).
#include "typing/word_data.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "state/game_state.h"
#include "typing/key_tables.h"

namespace {

TEST(WordData, JunkBytesNeverBreakTheTables) {
  std::set<int16_t> wordCodes;
  for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-"))
    wordCodes.insert(typing::WordCharCode(c));
  uint32_t state = 12345;
  const auto next = [&state] { return (state = state * 1664525u + 1013904223u) >> 24; };
  const std::string steering = "\"\r\n, \tcatDOG-1";  // bytes that steer the reader
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (uint32_t i = 0, n = next() * 8; i < n; ++i) {
      const uint32_t r = next();
      bytes += r < 160 ? steering[r % steering.size()] : static_cast<char>(next());
    }
    state::GameState g;
    typing::LoadWordDataFromBytes(g, bytes);
    ASSERT_TRUE(g.wordCount >= 0 && g.wordCount <= 100 && g.letterCount <= 1001) << round;
    ASSERT_EQ(g.wordStart[g.wordCount + 1], g.letterCount) << round;
    for (int w = 1; w <= g.wordCount; ++w) ASSERT_GE(g.wordStart[w + 1] - g.wordStart[w], 3);
    for (int i = 0; i < g.letterCount; ++i) ASSERT_TRUE(wordCodes.count(g.letterKeys[i])) << round;
  }
}

}  // namespace
