// Tests of name entry editing, the ranking key and the insertion of a result.
#include "ranking/name_entry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

#include "ranking/rank_key.h"
#include "ranking/ranking_file.h"
#include "support/fakes.h"
#include "typing/key_tables.h"

namespace {

constexpr int kEsc = 1, kBackspace = 14, kEnter = 28, kA = 30, kB = 48, kC = 46, kK = 37, kL = 38;

class NameEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { typing::BuildKeyTables(r.g); }
  // One frame: the keys go down and up, then the frame reads them.
  std::string Frame(const std::string& name, std::initializer_list<int> keys = {}) {
    for (const int k : keys) r.keys->Press(k);
    return ranking::ReadNameKeys(r.g, name);
  }
  testing_support::Rig r;
};

TEST_F(NameEntryTest, TypingAndBackspace) {
  EXPECT_EQ(Frame("XY", {kA, kB, kBackspace}), "XYA");
  EXPECT_EQ(Frame("XYA", {kBackspace}), "XY");
  EXPECT_EQ(Frame("X", {kBackspace, kBackspace}), "");
  EXPECT_EQ(Frame("", {71, 78, 83, 74, 79, 82}), "7+.-10");  // the number pad
  EXPECT_FALSE(r.g.entryDone);
  EXPECT_FALSE(r.g.quitRequested);
}

TEST_F(NameEntryTest, NameIsCutToTenOncePerFrame) {
  EXPECT_EQ(Frame("ABCDEFGHIJ", {kK}), "ABCDEFGHIJ");  // an 11th character is dropped
  EXPECT_EQ(Frame("ABCDEFGHI", {kK, kL}), "ABCDEFGHIK");
  // The cut comes after the frame's keys: a Backspace still takes the 11th.
  EXPECT_EQ(Frame("ABCDEFGHIJ", {kK, kBackspace}), "ABCDEFGHIJ");
  EXPECT_EQ(Frame("ABCDEFGHIJKL"), "ABCDEFGHIJ");  // a long name from the file
}

TEST_F(NameEntryTest, EnterAndEscLetLaterKeysEdit) {
  EXPECT_EQ(Frame("AB", {kEnter, kC}), "ABC");
  EXPECT_TRUE(r.g.entryDone);
  EXPECT_FALSE(r.g.quitRequested);
  EXPECT_EQ(Frame("ABC", {kEsc, kBackspace}), "AB");
  EXPECT_TRUE(r.g.quitRequested);
}

TEST_F(NameEntryTest, KeyCodeZeroAndReleasesChangeNothing) {
  r.keys->Up(kA);
  r.keys->queue.push_back({0, 128, 0, 0});
  r.keys->queue.push_back({kEnter, 0, 0, 0});
  r.keys->queue.push_back({kA, 1, 0, 0});
  EXPECT_EQ(Frame("NAME", {57, 42}), "NAME");  // Space and Shift type nothing
  EXPECT_FALSE(r.g.entryDone);
}

// Places P0..P9 with keys 100000000 down to 10000000; at level 0 the key is
// the score, so each case names the score and the names it leaves in order.
TEST(InsertRankingTest, ResultGoesBelowEveryKeyNotLowerThanItsOwn) {
  const struct {
    const char* what;
    int32_t score;
    const char* order;
  } cases[] = {
      {"best", 100000001, "NEW P0 P1 P2 P3 P4 P5 P6 P7 P8"},
      {"tie with places 3 and 4", 70000000, "P0 P1 P2 P3 P4 NEW P5 P6 P7 P8"},
      {"beats only the tenth", 10000001, "P0 P1 P2 P3 P4 P5 P6 P7 P8 NEW"},
      {"equals the tenth", 10000000, "P0 P1 P2 P3 P4 P5 P6 P7 P8 P9"},
      {"below every place", 5, "P0 P1 P2 P3 P4 P5 P6 P7 P8 P9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    state::GameState g;
    for (int i = 0; i < 10; ++i) {
      g.rankKeys[i] = 10000000 * (10 - i);
      g.rankNames[i] = "P" + std::to_string(i);
    }
    g.rankKeys[4] = g.rankKeys[3];
    const state::GameState old = g;
    g.entryName = "NEW";
    ranking::InsertRanking(g, c.score);
    std::istringstream order(c.order);
    std::string name;
    for (int i = 0; order >> name; ++i) {
      EXPECT_EQ(g.rankNames[i], name) << i;
      EXPECT_EQ(g.rankKeys[i], name == "NEW" ? c.score : old.rankKeys[name[1] - '0']) << i;
    }
  }
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
