// Tests of name entry editing, the ranking key and the insertion of a result.
#include "ranking/name_entry.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "support/fakes.h"
#include "typing/key_tables.h"

namespace {

using testing_support::Rig;

constexpr int kEsc = 1;
constexpr int kBackspace = 14;
constexpr int kEnter = 28;
constexpr int kA = 30;
constexpr int kB = 48;
constexpr int kC = 46;
constexpr int kK = 37;
constexpr int kL = 38;

class NameEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { typing::BuildKeyTables(r.g); }
  std::string Frame(const std::string& name) { return ranking::ReadNameKeys(r.g, name); }
  Rig r;
};

TEST_F(NameEntryTest, BackspaceRemovesTheLastCharacterOfTheFrame) {
  r.keys->Press(kA);
  r.keys->Press(kB);
  r.keys->Press(kBackspace);
  const std::string name = Frame("XY");
  EXPECT_EQ(name, "XYA");
  r.keys->Press(kBackspace);
  EXPECT_EQ(Frame(name), "XY");
  r.keys->Press(kBackspace);
  r.keys->Press(kBackspace);
  r.keys->Press(kBackspace);
  EXPECT_EQ(Frame("XY"), "");  // Backspace on an empty name does nothing
  EXPECT_FALSE(r.g.entryDone);
}

TEST_F(NameEntryTest, NameIsCutToTenAtTheEndOfEachFrame) {
  r.keys->Press(kK);
  EXPECT_EQ(Frame("ABCDEFGHIJ"), "ABCDEFGHIJ");  // an 11th character is dropped
  r.keys->Press(kK);
  r.keys->Press(kL);
  EXPECT_EQ(Frame("ABCDEFGHI"), "ABCDEFGHIK");
  // The cut comes after the frame's keys: a Backspace still takes the 11th.
  r.keys->Press(kK);
  r.keys->Press(kBackspace);
  EXPECT_EQ(Frame("ABCDEFGHIJ"), "ABCDEFGHIJ");
}

TEST_F(NameEntryTest, LongNameFromTheFileIsCutInTheFirstFrame) {
  EXPECT_EQ(Frame("ABCDEFGHIJKL"), "ABCDEFGHIJ");
}

TEST_F(NameEntryTest, EnterAndEscLetLaterKeysEdit) {
  r.keys->Press(kEnter);
  r.keys->Press(kC);
  EXPECT_EQ(Frame("AB"), "ABC");
  EXPECT_TRUE(r.g.entryDone);
  EXPECT_FALSE(r.g.quitRequested);
  r.keys->Press(kEsc);
  r.keys->Press(kBackspace);
  EXPECT_EQ(Frame("ABC"), "AB");
  EXPECT_TRUE(r.g.quitRequested);
}

TEST_F(NameEntryTest, NumberPadAndPunctuation) {
  for (const int code : {71, 78, 83, 74, 79, 82}) r.keys->Press(code);
  EXPECT_EQ(Frame(""), "7+.-10");  // pad 7, plus, point, minus, 1, 0
  for (const int code : {12, 13, 26, 27, 39, 40, 41, 51, 52}) r.keys->Press(code);
  EXPECT_EQ(Frame("X"), "X-=[];'`,.");
}

TEST_F(NameEntryTest, KeysThatTypeNothingAndReleasesChangeNothing) {
  for (const int code : {57, 42, 54, 29, 56, 15, 59, 200, 203, 255}) r.keys->Press(code);
  r.keys->Up(kA);
  r.keys->queue.push_back({0, 128, 0, 0});
  r.keys->queue.push_back({300, 128, 0, 0});  // outside the table
  r.keys->queue.push_back({-5, 128, 0, 0});
  r.keys->queue.push_back({kA, 1, 0, 0});
  EXPECT_EQ(Frame("NAME"), "NAME");
  EXPECT_FALSE(r.g.entryDone);
  EXPECT_FALSE(r.g.quitRequested);
}

TEST(RankKeyTest, LevelThenMaxLevelThenScore) {
  EXPECT_EQ(ranking::ComputeRankKey(3, 3, 0), 30300000);
  EXPECT_EQ(ranking::ComputeRankKey(4, 7, 1234), 40701234);
  EXPECT_GT(ranking::ComputeRankKey(4, 4, 0), ranking::ComputeRankKey(3, 99, 99999));
}

TEST(RankKeyTest, KeysBeyondThirtyTwoBitsAreHeldAtTheLimit) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(ranking::ComputeRankKey(214, 74, 83647), kMax);  // exactly fits
  EXPECT_EQ(ranking::ComputeRankKey(214, 214, 0), kMax);
  EXPECT_EQ(ranking::ComputeRankKey(215, 215, 0), kMax);
  EXPECT_EQ(ranking::ComputeRankKey(32767, 32767, kMax), kMax);
  EXPECT_EQ(ranking::ComputeRankKey(0, 0, std::numeric_limits<int32_t>::min()),
            std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ranking::ComputeRankKey(-32768, 0, 0), std::numeric_limits<int32_t>::min());
}

class InsertRankingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Keys 10000000 * (10 - i), names P0..P9; the result scores at level 3.
    for (int i = 0; i < 10; ++i) {
      g.rankKeys[i] = 10000000 * (10 - i);
      g.rankNames[i] = "P" + std::to_string(i);
    }
    g.level = 3;
    g.maxLevel = 3;
    g.entryName = "NEW";
  }
  // Sets the keys so that the result with the given score has key `key`.
  int32_t ScoreFor(int32_t key) const {
    return key - ranking::ComputeRankKey(g.level, g.maxLevel, 0);
  }
  core::GameState g;
};

TEST_F(InsertRankingTest, BetterThanEveryPlaceMovesAllDown) {
  g.level = 200;
  g.maxLevel = 200;
  ranking::InsertRanking(g, 5);
  EXPECT_EQ(g.rankKeys[0], 2020000005);
  EXPECT_EQ(g.rankNames[0], "NEW");
  for (int i = 1; i < 10; ++i) {
    EXPECT_EQ(g.rankKeys[i], 10000000 * (11 - i));
    EXPECT_EQ(g.rankNames[i], "P" + std::to_string(i - 1));
  }
}

TEST_F(InsertRankingTest, TiesGoBelowEveryEqualKey) {
  g.rankKeys[4] = g.rankKeys[3];  // places 3 and 4 share a key
  const int32_t tied = g.rankKeys[3];
  ranking::InsertRanking(g, ScoreFor(tied));
  EXPECT_EQ(g.rankKeys[5], tied);
  EXPECT_EQ(g.rankNames[5], "NEW");
  EXPECT_EQ(g.rankNames[3], "P3");
  EXPECT_EQ(g.rankNames[4], "P4");
  EXPECT_EQ(g.rankNames[6], "P5");
  EXPECT_EQ(g.rankNames[9], "P8");  // P9 dropped out
}

TEST_F(InsertRankingTest, BeatingOnlyTheTenthReplacesIt) {
  ranking::InsertRanking(g, ScoreFor(g.rankKeys[9] + 1));
  EXPECT_EQ(g.rankKeys[9], 10000001);
  EXPECT_EQ(g.rankNames[9], "NEW");
  EXPECT_EQ(g.rankNames[8], "P8");
  EXPECT_EQ(g.rankKeys[8], 20000000);
}

TEST_F(InsertRankingTest, NotBeatingAnythingChangesNothing) {
  const auto keys = g.rankKeys;
  const auto names = g.rankNames;
  ranking::InsertRanking(g, ScoreFor(g.rankKeys[9]));  // equal to the tenth
  ranking::InsertRanking(g, ScoreFor(5));
  EXPECT_EQ(g.rankKeys, keys);
  EXPECT_EQ(g.rankNames, names);
}

TEST_F(InsertRankingTest, SaturatedKeysRankAtTheTopAndTieThere) {
  g.level = 215;
  g.maxLevel = 215;
  g.entryName = "FIRST";
  ranking::InsertRanking(g, 0);
  g.level = 300;
  g.maxLevel = 300;
  g.entryName = "SECOND";
  ranking::InsertRanking(g, 0);
  EXPECT_EQ(g.rankKeys[0], std::numeric_limits<int32_t>::max());
  EXPECT_EQ(g.rankKeys[1], std::numeric_limits<int32_t>::max());
  EXPECT_EQ(g.rankNames[0], "FIRST");
  EXPECT_EQ(g.rankNames[1], "SECOND");
  EXPECT_EQ(g.rankNames[2], "P0");
}

TEST_F(InsertRankingTest, NameIsACopyOfEntryName) {
  g.level = 50;
  ranking::InsertRanking(g, 0);
  g.entryName = "CHANGED";
  EXPECT_EQ(g.rankNames[0], "NEW");
}

}  // namespace
