// The history file: its lines written and read back, safe appends (damaged lines skipped: the
// golden game stats_damaged_lines).
#include "stats/history_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/script_run.h"

namespace {

using testing_support::GameDir;

const std::string kHeader(stats::kHistoryHeader);

state::RoundRecord Round(int32_t score) {
  state::RoundRecord r{"2025-03-04", "21:05:09", score, 4, 7, {}};
  r.counts = {.destroyed = 61, .locks = 63, .wrongKeys = 5, .lost = 9, .shots = 20};
  r.counts.keys[30] = {12, 1, 2};  // A
  r.counts.keys[12] = {3, 0, 0};   // -
  r.counts.keys[2] = {0, 2, 0};    // 1
  r.counts.keys[15] = {0, 2, 0};   // Tab
  return r;
}

TEST(HistoryLine, WrittenInItsColumnsAndReadBackWhole) {
  const state::RoundRecord r = Round(123);
  const std::string line = stats::FormatRoundLine(r);
  EXPECT_EQ(
      line,
      "2025-03-04,21:05:09,123,4,7,61,63,5,9,20,30.5,92.6,A:12:1:2 1:0:2:0 -:3:0:0 #15:0:2:0");
  EXPECT_EQ(stats::ParseRoundLine(line), r);
  EXPECT_EQ(stats::ParseRoundLine(line + "\r"), r);

  state::RoundRecord idle{"2025-03-04", "21:05:09", 0, 3, 3, {}};  // no key judged: no accuracy
  EXPECT_EQ(stats::FormatRoundLine(idle), "2025-03-04,21:05:09,0,3,3,0,0,0,0,0,0.0,,");
  EXPECT_EQ(stats::ParseRoundLine(stats::FormatRoundLine(idle)), idle);
}

TEST(HistoryAppend, HeaderFirstThenLinesAndACutLineStaysApart) {
  GameDir dir;
  const std::string myPath = dir.Path() + "/";
  stats::AppendRounds(myPath, {Round(1)});
  const std::string first = kHeader + "\n" + stats::FormatRoundLine(Round(1)) + "\n";
  EXPECT_EQ(dir.Read(stats::kHistoryFileName), first);

  // A game killed mid-line left half a line: it is kept, and the next round
  // starts a line of its own.
  dir.Write(stats::kHistoryFileName, first + "2025-03-04,21:0");
  stats::AppendRounds(myPath, {Round(2), Round(3)});
  EXPECT_EQ(dir.Read(stats::kHistoryFileName), first + "2025-03-04,21:0\n" +
                                                   stats::FormatRoundLine(Round(2)) + "\n" +
                                                   stats::FormatRoundLine(Round(3)) + "\n");
  const stats::HistoryRead read = stats::ReadHistory(myPath, 5);
  EXPECT_EQ(std::tuple(read.rounds, read.damagedLines), std::tuple(3, 1));

  // The append takes the ranking's folder lock: where that cannot be had,
  // nothing is written.
  const std::string before = dir.Read(stats::kHistoryFileName);
  dir.Remove("rapikosc.ini.lock");  // made by the appends above
  std::filesystem::create_directory(dir.File("rapikosc.ini.lock"));
  EXPECT_THROW(stats::AppendRounds(myPath, {Round(9)}), stats::HistoryError);
  EXPECT_EQ(dir.Read(stats::kHistoryFileName), before);
}

}  // namespace
