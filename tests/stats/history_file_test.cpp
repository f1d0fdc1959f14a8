// Appends to the history file (its lines are golden games: tests/golden/stats_* and
// history_after_cut_line).
#include "stats/history_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/script_run.h"

namespace {

using testing_support::GameDir;

// A line cut by a crash stays apart (the golden game history_after_cut_line); where the folder
// lock cannot be had, nothing is written.
TEST(HistoryAppend, HeaderFirstAndNothingWithoutTheLock) {
  GameDir dir;
  const std::string myPath = dir.Path() + "/";
  const state::RoundRecord round{"2025-03-04", "21:05:09", 1, 4, 7, {}};
  stats::AppendRounds(myPath, {round});
  const std::string first =
      std::string(stats::kHistoryHeader) + "\n" + stats::FormatRoundLine(round) + "\n";
  EXPECT_EQ(dir.Read(stats::kHistoryFileName), first);
  dir.Remove("rapikosc.ini.lock");  // made by the append above
  std::filesystem::create_directory(dir.File("rapikosc.ini.lock"));
  EXPECT_THROW(stats::AppendRounds(myPath, {round}), stats::HistoryError);
  EXPECT_EQ(dir.Read(stats::kHistoryFileName), first);
}

}  // namespace
