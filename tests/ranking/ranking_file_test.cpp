// Tests of the ranking file's bytes and of reading it back, damaged files included.
#include "ranking/ranking_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/game_state.h"

namespace {

using namespace std::string_literals;

const std::string kEmptyFile =
    "\"\"\r\n"
    "\"\"\r\n0\r\n\"\"\r\n0\r\n\"\"\r\n0\r\n\"\"\r\n0\r\n\"\"\r\n0\r\n"
    "\"\"\r\n0\r\n\"\"\r\n0\r\n\"\"\r\n0\r\n\"\"\r\n0\r\n\"\"\r\n0\r\n";

// A filled ranking: names ANNA, BOB, ... with keys 900, 800, ... down to 0.
core::GameState Filled() {
  core::GameState g;
  g.entryName = "ME,TOO";
  const char* names[] = {"ANNA", "BOB", "CY", "DAN", "EVE", "FAY", "GUS", "HAL", "IDA", "JO"};
  for (int i = 0; i < 10; ++i) {
    g.rankNames[i] = names[i];
    g.rankKeys[i] = 900 - 100 * i;
  }
  return g;
}

// A state whose every field differs from what the test files hold.
core::GameState Previous() {
  core::GameState g;
  g.entryName = "OLD";
  for (int i = 0; i < 10; ++i) {
    g.rankNames[i] = "OLD" + std::to_string(i);
    g.rankKeys[i] = -1 - i;
  }
  return g;
}

// Lines 1..n of a well-formed file: name "N", places "P<i>" with keys 100 + i.
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

void ExpectPlacesReadUpTo(const core::GameState& g, int namesRead, int keysRead) {
  const core::GameState old = Previous();
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(g.rankNames[i], i < namesRead ? "P" + std::to_string(i) : old.rankNames[i]);
    EXPECT_EQ(g.rankKeys[i], i < keysRead ? 100 + i : old.rankKeys[i]);
  }
}

TEST(RankingBytesTest, EmptyRanking) {
  const core::GameState g;
  EXPECT_EQ(ranking::RankingFileBytes(g), kEmptyFile);
}

TEST(RankingBytesTest, FilledRankingIsTwentyOneQuotedAndDecimalLines) {
  core::GameState g = Filled();
  g.rankKeys[8] = -2147483647 - 1;
  g.rankKeys[0] = 2147483647;
  std::string expected = "\"ME,TOO\"\r\n";
  expected += "\"ANNA\"\r\n2147483647\r\n\"BOB\"\r\n800\r\n\"CY\"\r\n700\r\n\"DAN\"\r\n600\r\n";
  expected += "\"EVE\"\r\n500\r\n\"FAY\"\r\n400\r\n\"GUS\"\r\n300\r\n\"HAL\"\r\n200\r\n";
  expected += "\"IDA\"\r\n-2147483648\r\n\"JO\"\r\n0\r\n";
  EXPECT_EQ(ranking::RankingFileBytes(g), expected);
}

TEST(RankingReadTest, WrittenBytesReadBackToTheSameValues) {
  core::GameState g = Filled();
  g.rankNames[3] = "A,B";
  g.rankNames[4] = "";
  g.rankKeys[9] = -42;
  core::GameState back = Previous();
  ranking::LoadRankingFromBytes(back, ranking::RankingFileBytes(g));
  EXPECT_EQ(back.entryName, "ME,TOO");
  EXPECT_EQ(back.rankNames, g.rankNames);
  EXPECT_EQ(back.rankKeys, g.rankKeys);
}

TEST(RankingReadTest, AnyLineEnd) {
  for (const std::string eol : {"\r\n", "\n", "\r"}) {
    core::GameState g = Previous();
    ranking::LoadRankingFromBytes(g, Lines(21, eol));
    EXPECT_EQ(g.entryName, "N");
    ExpectPlacesReadUpTo(g, 10, 10);
  }
}

TEST(RankingReadTest, LettersAsTheFourthPlacesKeyStopTheReading) {
  std::string bytes = Lines(21);
  const std::string key = "\r\n103\r\n";
  bytes.replace(bytes.find(key), key.size(), "\r\nabc\r\n");
  core::GameState g = Previous();
  ranking::LoadRankingFromBytes(g, bytes);
  EXPECT_EQ(g.entryName, "N");
  ExpectPlacesReadUpTo(g, 4, 3);  // place 3's name is read, its key is not

  core::GameState fresh;
  ranking::LoadRankingFromBytes(fresh, bytes);
  EXPECT_EQ(fresh.rankNames[3], "P3");
  EXPECT_EQ(fresh.rankKeys[3], 0);
  EXPECT_EQ(fresh.rankNames[4], "");
}

TEST(RankingReadTest, FileCutAfterLineEight) {
  core::GameState g = Previous();
  ranking::LoadRankingFromBytes(g, Lines(8));
  EXPECT_EQ(g.entryName, "N");
  ExpectPlacesReadUpTo(g, 4, 3);
  // A cut without a final line end reads the last value all the same.
  core::GameState h = Previous();
  std::string cut = Lines(8);
  cut.resize(cut.size() - 2);
  ranking::LoadRankingFromBytes(h, cut);
  ExpectPlacesReadUpTo(h, 4, 3);
}

TEST(RankingReadTest, EmptyFileChangesNothing) {
  core::GameState g = Previous();
  ranking::LoadRankingFromBytes(g, "");
  EXPECT_EQ(g.entryName, "OLD");
  ExpectPlacesReadUpTo(g, 0, 0);
}

TEST(RankingReadTest, KeyTexts) {
  struct Case {
    const char* text;
    bool ok;
    int32_t key;
  };
  const Case cases[] = {
      {"-35", true, -35},
      {"+7", true, 7},
      {"  12  ", true, 12},
      {"\"250\"", true, 250},
      {"0042", true, 42},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
      {"1.5", false, 0},
      {"1e3", false, 0},
      {"12a", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"+-3", false, 0},
      {"1 2", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    core::GameState g = Previous();
    ranking::LoadRankingFromBytes(
        g, "\"N\"\r\n\"P0\"\r\n" + std::string(c.text) + "\r\n\"P1\"\r\n7\r\n");
    EXPECT_EQ(g.rankKeys[0], c.ok ? c.key : -1);
    EXPECT_EQ(g.rankKeys[1], c.ok ? 7 : -2);  // the first error ends the reading
  }
}

TEST(RankingReadTest, ValueSyntax) {
  core::GameState g;
  // Unquoted values lose their blanks; text after a closing quote is skipped;
  // a quote never closed ends at its line; commas separate values.
  ranking::LoadRankingFromBytes(g,
                                "  BOB \t\r\n"
                                "\"ANN\" junk\r\n"
                                "5\r\n"
                                "\"OPEN, NO CLOSE\r\n"
                                "6\r\n"
                                "\"X\",7,Y,8\r\n"
                                "A\"B\r\n"
                                "9\r\n");
  EXPECT_EQ(g.entryName, "BOB");
  EXPECT_EQ(g.rankNames[0], "ANN");
  EXPECT_EQ(g.rankKeys[0], 5);
  EXPECT_EQ(g.rankNames[1], "OPEN, NO CLOSE");
  EXPECT_EQ(g.rankKeys[1], 6);
  EXPECT_EQ(g.rankNames[2], "X");
  EXPECT_EQ(g.rankKeys[2], 7);
  EXPECT_EQ(g.rankNames[3], "Y");
  EXPECT_EQ(g.rankKeys[3], 8);
  EXPECT_EQ(g.rankNames[4], "A\"B");
  EXPECT_EQ(g.rankKeys[4], 9);
}

TEST(RankingReadTest, LinesAfterTheTwentyFirstAreNeverRead) {
  core::GameState g = Previous();
  ranking::LoadRankingFromBytes(g, Lines(21) + "\"EXTRA\"\r\nnot a key\r\n\"\xFF\0junk"s);
  EXPECT_EQ(g.entryName, "N");
  ExpectPlacesReadUpTo(g, 10, 10);
}

TEST(RankingReadTest, JunkBytesNeverBreakTheReader) {
  uint32_t state = 99;
  const auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 24;
  };
  const std::string steering = "\"\r\n, \t-+0123456789";
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    const uint32_t length = next() * 2;
    for (uint32_t i = 0; i < length; ++i) {
      const uint32_t r = next();
      bytes += r < 200 ? steering[r % steering.size()] : static_cast<char>(next());
    }
    core::GameState g;
    ranking::LoadRankingFromBytes(g, bytes);
    // Whatever was read writes back as a file that reads to the same keys.
    core::GameState again;
    ranking::LoadRankingFromBytes(again, ranking::RankingFileBytes(g));
    EXPECT_EQ(again.rankKeys, g.rankKeys) << round;
  }
}

}  // namespace
