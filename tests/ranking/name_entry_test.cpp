// Name entry with key codes no script can send, the ranking key at its limit (the rest of name
// entry and where a result goes are golden games: tests/golden/entry_*, name_entry*,
// round_*_tenth; the ranking file's: ranking_*).
#include "ranking/name_entry.h"

#include <gtest/gtest.h>

#include "ranking/rank_key.h"
#include "support/fakes.h"
#include "typing/key_tables.h"

namespace {

constexpr int kEnter = 28, kA = 30;

// Releases, key code zero and codes past the key table (none the keyboard sends today) type
// nothing; Enter let go enters nothing.
TEST(NameEntry, ReleasesAndCodesOutsideTheTableTypeNothing) {
  testing_support::Rig r;
  typing::BuildKeyTables(r.g);
  r.keys->queue = {{kA, 0},    {0, 128},  {kEnter, 0}, {kA, 1},
                   {256, 128}, {-1, 128}, {1000, 128}, {kA, 128}};
  EXPECT_EQ(ranking::ReadNameKeys(r.g, "NAME"), "NAMEA");
  EXPECT_FALSE(r.g.entryDone);
}

TEST(InsertRankingTest, KeyIsHeldAtTheLimit) {
  EXPECT_EQ(ranking::ComputeRankKey(4, 7, 1234), 40701234);
  EXPECT_EQ(ranking::ComputeRankKey(214, 74, 83647), 2147483647);  // exactly fits
  EXPECT_EQ(ranking::ComputeRankKey(214, 214, 0), 2147483647);
  state::GameState g;
  g.level = g.maxLevel = 215;
  g.entryName = "TOP";
  ranking::InsertRanking(g, 99999);
  EXPECT_EQ(g.rankKeys[0], 2147483647);  // read back: the golden game ranking_value_syntax
}

}  // namespace
