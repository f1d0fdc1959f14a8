// Appends to the history file (its lines, a first one after the header and one after a cut
// line, are golden games: tests/golden/stats_history and history_after_cut_line).
#include "stats/history_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/script_run.h"

namespace {

using testing_support::GameDir;

// The append takes the ranking's folder lock: where that cannot be had, nothing is written.
TEST(HistoryAppend, NothingWithoutTheFolderLock) {
  GameDir dir;
  std::filesystem::create_directory(dir.File("rapikosc.ini.lock"));
  EXPECT_THROW(stats::AppendRounds(dir.Path() + "/", {state::RoundRecord{}}), stats::HistoryError);
  EXPECT_FALSE(dir.Exists(stats::kHistoryFileName));
}

}  // namespace
