// Reading the ranking file, damaged files included (the bytes written are in every golden game,
// the syntax of values in ranking_value_syntax).
#include "ranking/ranking_file.h"

#include <gtest/gtest.h>

#include <string>

#include "state/game_state.h"

namespace {

// A state whose every field differs from what the test files hold.
state::GameState Previous() {
  state::GameState g;
  g.entryName = "OLD";
  for (int i = 0; i < 10; ++i) {
    g.rankNames[i] = "OLD" + std::to_string(i);
    g.rankKeys[i] = -1 - i;
  }
  return g;
}

// Lines 1..n of a sound file: name "N", then places "P<i>" with keys 100 + i.
std::string Lines(int n, const std::string& eol = "\r\n") {
  std::string out;
  for (int line = 1; line <= n; ++line) {
    if (line == 1) {
      out += "\"N\"";
    } else if (line % 2 == 0) {
      out += "\"P" + std::to_string(line / 2 - 1) + "\"";
    } else {
      out += std::to_string(100 + line / 2 - 1);
    }
    out += eol;
  }
  return out;
}

// A sound file whose fourth place has the given key text.
std::string WithFourthKey(const std::string& key) {
  std::string bytes = Lines(21);
  return bytes.replace(bytes.find("\r\n103\r\n"), 7, "\r\n" + key + "\r\n");
}

// The first failure ends the reading: what came before it is read, the rest
// keeps its old value; a place whose key fails has its name read already.
// The damage is reported with the line where the reading stopped.
TEST(RankingFileTest, ReadingStopsAtTheFirstFailure) {
  const struct {
    const char* what;
    std::string bytes;
    int namesRead, keysRead, damagedLine;
  } cases[] = {
      {"CR LF", Lines(21), 10, 10, 0},
      {"LF only", Lines(21, "\n"), 10, 10, 0},
      {"CR only", Lines(21, "\r"), 10, 10, 0},
      {"lines after the 21st", Lines(21) + "\"EXTRA\"\r\nnot a key\r\n", 10, 10, 0},
      {"no line end after the last key", Lines(21).substr(0, Lines(21).size() - 2), 10, 10, 0},
      {"cut after line 8", Lines(8), 4, 3, 9},
      {"letters as the fourth key", WithFourthKey("12abc"), 4, 3, 9},
      {"a fraction as the fourth key", WithFourthKey("1.5"), 4, 3, 9},
      {"key above 32 bits", WithFourthKey("2147483648"), 4, 3, 9},
      {"key below 32 bits", WithFourthKey("-2147483649"), 4, 3, 9},
      {"empty file", "", 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const state::GameState old = Previous();
    state::GameState g = Previous();
    const std::string damage = ranking::LoadRankingFromBytes(g, c.bytes);
    EXPECT_EQ(damage.empty() ? 0 : std::stoi(damage.substr(5)), c.damagedLine) << damage;
    EXPECT_EQ(g.entryName, c.namesRead > 0 ? "N" : "OLD");
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(g.rankNames[i], i < c.namesRead ? "P" + std::to_string(i) : old.rankNames[i]);
      EXPECT_EQ(g.rankKeys[i], i < c.keysRead ? 100 + i : old.rankKeys[i]);
    }
  }
}

}  // namespace
