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
}

// A line cut by a crash stays apart (the golden game history_after_cut_line); where the folder
// lock cannot be had, nothing is written.
TEST(HistoryAppend, HeaderFirstAndNothingWithoutTheLock) {
  GameDir dir;
  const std::string myPath = dir.Path() + "/";
  stats::AppendRounds(myPath, {Round(1)});
  const std::string first = kHeader + "\n" + stats::FormatRoundLine(Round(1)) + "\n";
  EXPECT_EQ(dir.Read(stats::kHistoryFileName), first);
  dir.Remove("rapikosc.ini.lock");  // made by the append above
  std::filesystem::create_directory(dir.File("rapikosc.ini.lock"));
  EXPECT_THROW(stats::AppendRounds(myPath, {Round(9)}), stats::HistoryError);
  EXPECT_EQ(dir.Read(stats::kHistoryFileName), first);
}

}  // namespace
