// Name entry edits at the edges, and the ranking key at its limit (the rest of name entry and
// where a result goes are golden games: tests/golden/entry_*, name_entry*, round_*_tenth).
#include "ranking/name_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ranking/rank_key.h"
#include "ranking/ranking_file.h"
#include "support/fakes.h"
#include "typing/key_tables.h"

namespace {

constexpr int kEsc = 1, kBackspace = 14, kEnter = 28, kA = 30, kC = 46, kK = 37, kL = 38;

// Edits of one frame that the golden games of name entry do not reach.
TEST(NameEntry, OneFramesKeys) {
  const struct {
    const char* name;
    std::vector<int> keys;
    const char* result;
    bool done, quit;
  } cases[] = {
      {"X", {kBackspace, kBackspace}, "", false, false},
      {"ABCDEFGHIJ", {kK}, "ABCDEFGHIJ", false, false},  // an 11th character is dropped
      {"ABCDEFGHI", {kK, kL}, "ABCDEFGHIK", false, false},
      // The cut comes after the frame's keys: a Backspace still takes the 11th.
      {"ABCDEFGHIJ", {kK, kBackspace}, "ABCDEFGHIJ", false, false},
      {"ABCDEFGHIJKL", {}, "ABCDEFGHIJ", false, false},  // a long name from the file
      {"AB", {kEnter, kC}, "ABC", true, false},
      {"ABC", {kEsc, kBackspace}, "AB", false, true},
      {"NAME", {57, 42}, "NAME", false, false},  // Space and Shift type nothing
  };
  for (const auto& c : cases) {
    testing_support::Rig rig;
    typing::BuildKeyTables(rig.g);
    for (const int k : c.keys) rig.keys->Press(k);
    EXPECT_EQ(ranking::ReadNameKeys(rig.g, c.name), c.result) << c.name;
    EXPECT_EQ(std::pair(rig.g.entryDone, rig.g.quitRequested), std::pair(c.done, c.quit)) << c.name;
  }
}

TEST(NameEntry, KeyCodeZeroAndReleasesChangeNothing) {
  testing_support::Rig r;
  typing::BuildKeyTables(r.g);
  r.keys->queue.push_back({kA, 0, 0, 0});
  r.keys->queue.push_back({0, 128, 0, 0});
  r.keys->queue.push_back({kEnter, 0, 0, 0});
  r.keys->queue.push_back({kA, 1, 0, 0});
  EXPECT_EQ(ranking::ReadNameKeys(r.g, "NAME"), "NAME");
  EXPECT_FALSE(r.g.entryDone);
}

TEST(InsertRankingTest, KeyIsHeldAtTheLimitAndReadsBack) {
  EXPECT_EQ(ranking::ComputeRankKey(4, 7, 1234), 40701234);
  EXPECT_EQ(ranking::ComputeRankKey(214, 74, 83647), 2147483647);  // exactly fits
  EXPECT_EQ(ranking::ComputeRankKey(214, 214, 0), 2147483647);
  state::GameState g;
  g.level = g.maxLevel = 215;
  g.entryName = "TOP";
  ranking::InsertRanking(g, 99999);
  EXPECT_EQ(g.rankKeys[0], 2147483647);
  state::GameState back;
  ranking::LoadRankingFromBytes(back, ranking::RankingFileBytes(g));
  EXPECT_EQ(back.rankKeys[0], 2147483647);
  EXPECT_EQ(back.rankNames[0], "TOP");
}

}  // namespace
