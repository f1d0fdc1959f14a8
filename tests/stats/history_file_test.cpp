// The history file: its columns read back, lines of the first columns, damaged lines, the best
// round, the rounds of one list (its lines after a round are golden games: tests/golden/
// stats_history, history_after_cut_line and stats_lists).
#include "stats/history_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/script_run.h"

namespace {

using testing_support::GameDir;

std::string MyPath(const GameDir& dir) { return dir.Path() + "/"; }

state::RoundRecord Round(int32_t score, int32_t level, int32_t maxLevel, std::string list = "",
                         bool practice = false) {
  state::RoundRecord r;
  r.date = "2025-04-01";
  r.time = "10:00:00";
  r.score = score;
  r.level = level;
  r.maxLevel = maxLevel;
  r.counts = {.destroyed = 20, .locks = 21, .wrongKeys = 2, .lost = 3, .shots = 5};
  r.counts.keys[30] = {21, 2, 1};  // A
  r.list = std::move(list);
  r.practice = practice;
  return r;
}

// The append takes the ranking's folder lock: where that cannot be had, nothing is written.
TEST(HistoryAppend, NothingWithoutTheFolderLock) {
  GameDir dir;
  std::filesystem::create_directory(dir.File("rapikosc.ini.lock"));
  EXPECT_THROW(stats::AppendRounds(MyPath(dir), {state::RoundRecord{}}), stats::HistoryError);
  EXPECT_FALSE(dir.Exists(stats::kHistoryFileName));
}

// A list's name holds any character: the ones that would break the line are written as %XX.
TEST(HistoryFile, AListsNameAndPracticeReadBackAsWritten) {
  const struct {
    std::string list;
    std::string column;
  } cases[] = {{"", ""},
               {"digits", "digits"},
               {"a,b", "a%2Cb"},
               {"100% \"mine\"", "100%25 %22mine%22"},
               {"tab\there\nnew", "tab%09here%0Anew"},
               {"Éclair 語", "Éclair 語"}};
  for (const auto& c : cases) {
    for (const bool practice : {false, true}) {
      GameDir dir;
      const state::RoundRecord r = Round(50, 3, 4, c.list, practice);
      const std::string line = stats::FormatRoundLine(r);
      EXPECT_TRUE(line.ends_with("," + c.column + (practice ? ",1" : ",0"))) << line;
      stats::AppendRounds(MyPath(dir), {r});
      EXPECT_EQ(dir.Read(stats::kHistoryFileName),
                std::string(stats::kHistoryHeader) + "\n" + line + "\n");
      const stats::HistoryRead read = stats::ReadHistory(MyPath(dir), 5);
      ASSERT_EQ(read.tail.size(), 1u) << line;
      EXPECT_EQ(read.tail[0], r) << line;
      EXPECT_EQ(read.damagedLines, 0) << line;
    }
  }
}

// Lines of the first columns (a history begun by an earlier game, under its
// header) are rounds of the game folder's list, not practice; a line of
// other columns, or a practice or list column out of form, is damaged.
TEST(HistoryFile, LinesOfTheFirstColumnsAndDamagedOnes) {
  const std::string first = "2025-03-04,21:05:09,123,4,7,61,63,5,9,20,30.5,92.6,A:12:1:2";
  const struct {
    std::string line;
    bool round;
  } cases[] = {
      {first, true},
      {first + ",digits,1", true},
      {first + ",,0", true},
      {first + ",digits", false},     // 14 columns
      {first + ",digits,1,", false},  // 16 columns
      {first + ",a,b,1", false},      // a comma in the name, unescaped
      {first + ",digits,2", false},   // practice is 1 or 0
      {first + ",digits,", false},    //
      {first + ",50%,0", false},      // a cut escape
      {first + ",%4,0", false},       //
      {first + ",%4g,0", false},      // not hex
      {first + ",%4a,0", false},      // hex is in capitals
      {first + ",%41,0", true},       // A
      {"2025-03-04,21:05:09,123,4,7,61,63,5,9,20,30.5,92.6", false},  // 12 columns
  };
  for (const auto& c : cases) {
    GameDir dir;
    dir.Write(stats::kHistoryFileName, std::string(stats::kFirstHistoryHeader) + "\n" + c.line +
                                           "\n" + std::string(stats::kHistoryHeader) + "\n");
    const stats::HistoryRead read = stats::ReadHistory(MyPath(dir), 1);
    EXPECT_EQ(read.rounds, c.round ? 1 : 0) << c.line;
    EXPECT_EQ(read.damagedLines, c.round ? 0 : 1) << c.line;
    if (c.line == first) {
      ASSERT_EQ(read.tail.size(), 1u);
      EXPECT_EQ(read.tail[0].list, "");
      EXPECT_FALSE(read.tail[0].practice);
      EXPECT_EQ(read.tail[0].counts.keys[30], (state::KeyTally{12, 1, 2}));
    }
  }
}

// Each column at the edges of its form: one value put in a good line.
TEST(HistoryFile, EachColumnAtTheEdgesOfItsForm) {
  const std::vector<std::string> good = {"2025-03-04", "21:05:09", "123",      "4",      "7",
                                         "61",         "63",       "5",        "9",      "20",
                                         "30.5",       "92.6",     "A:12:1:2", "digits", "0"};
  const struct {
    std::size_t column;
    std::string value;
    bool round;
  } cases[] = {
      {0, "2025-3-04", false},
      {0, "2025/03/04", false},
      {1, "21:05:9", false},
      {1, "21-05-09", false},
      {2, "-2147483648", true},
      {2, "-2147483649", false},
      {2, "2147483648", false},
      {3, "-32768", true},
      {3, "-32769", false},
      {4, "-32769", false},
      {5, "2147483647", true},
      {5, "2147483648", false},
      {5, "9999999999", false},
      {5, "123456789", true},
      {5, "-1", false},
      {5, "+1", false},
      {5, "", false},
      {6, "1x", false},
      {9, " 20", false},
      {10, "30.", false},
      {10, ".5", false},
      {10, "30.55", false},
      {10, "3x.5", false},
      {10, "", false},
      {11, "", true},
      {11, "92", false},
      {12, "", true},
      {12, "A:1:2", false},
      {12, "A:1:2:3:4", false},
      {12, "A:1:2:3 ", false},
      {12, "A:1:2:3  B:1:1:1", false},
      {12, "A:1:2:3 A:1:1:1", false},
      {12, "#15:1:0:0", true},
      {12, "#30:1:0:0", false},
      {12, "a:1:1:1", false},
      {12, "A:1:-1:1", false},
      {12, "A:2147483647:0:0", true},
      {12, "A:2147483648:0:0", false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> fields = good;
    fields[c.column] = c.value;
    std::string line;
    for (const std::string& f : fields) line += (line.empty() ? "" : ",") + f;
    GameDir dir;
    dir.Write(stats::kHistoryFileName, std::string(stats::kHistoryHeader) + "\n" + line + "\n");
    const stats::HistoryRead read = stats::ReadHistory(MyPath(dir), 1);
    EXPECT_EQ(read.rounds, c.round ? 1 : 0) << line;
    EXPECT_EQ(read.damagedLines, c.round ? 0 : 1) << line;
  }
}

// The best round is the one the ranking ranks first: level, then highest
// level, then score; the earlier of two alike. The rounds are those of the
// list asked for (all of them when none is), the damaged lines those of the
// whole file.
TEST(HistoryFile, TheBestRoundAsRankedAndTheRoundsOfOneList) {
  GameDir dir;
  const std::vector<state::RoundRecord> rounds = {Round(900, 4, 9),
                                                  Round(100, 5, 5),
                                                  Round(100, 5, 5, "", true),
                                                  Round(50, 5, 6, "digits"),
                                                  Round(9000, 2, 9, "digits"),
                                                  Round(40, 5, 6, "digits"),
                                                  Round(70, 1, 1, "a,b", true)};
  stats::AppendRounds(MyPath(dir), rounds);
  dir.Write(stats::kHistoryFileName, dir.Read(stats::kHistoryFileName) + "not a round\n");
  const struct {
    stats::ListFilter filter;
    int32_t rounds;
    std::size_t best;
    std::size_t last;
  } cases[] = {{stats::ListFilter{}, 7, 3, 6},
               {stats::ListFilter::Of(""), 3, 1, 2},
               {stats::ListFilter::Of("digits"), 3, 3, 5},
               {stats::ListFilter::Of("a,b"), 1, 6, 6},
               {stats::ListFilter::Of("a"), 0, 0, 0}};
  for (const auto& c : cases) {
    const stats::HistoryRead read = stats::ReadHistory(MyPath(dir), 2, c.filter);
    const std::string what = c.filter.allLists ? "all lists" : "list '" + c.filter.list + "'";
    EXPECT_EQ(read.rounds, c.rounds) << what;
    EXPECT_EQ(read.damagedLines, 1) << what;
    if (c.rounds == 0) {
      EXPECT_FALSE(read.best) << what;
      EXPECT_TRUE(read.tail.empty()) << what;
      continue;
    }
    ASSERT_TRUE(read.best) << what;
    EXPECT_EQ(*read.best, rounds[c.best]) << what;
    EXPECT_EQ(read.tail.back(), rounds[c.last]) << what;
    EXPECT_EQ(read.tail.size(), std::min<std::size_t>(2, static_cast<std::size_t>(c.rounds)));
  }
}

}  // namespace
