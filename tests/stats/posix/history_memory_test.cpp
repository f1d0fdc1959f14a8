// Reading the history costs bounded memory, whatever its lines: a damaged line of 100 MiB is
// passed over, not kept, and the round after it is read.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <fstream>

#include "stats/history_file.h"
#include "support/script_run.h"

namespace {

TEST(HistoryMemory, AHugeDamagedLineIsPassedOverInBoundedMemory) {
  testing_support::GameDir dir;
  {
    std::ofstream out(dir.File(stats::kHistoryFileName), std::ios::binary);
    out << stats::kHistoryHeader
        << "\n2025-02-01,09:30:00,300,4,6,41,44,4,6,12,20.5,91.7,Q:2:2:1,,0,\n";
    const std::string block(1 << 20, '7');
    for (int i = 0; i < 100; ++i) out << block;
    out << "\n2025-02-01,09:40:00,200,4,6,41,44,4,6,12,20.5,91.7,Q:2:2:1,,0,\n";
  }
  const auto r = testing_support::RunBinary({"--stats", "--dir", dir.Path() + "/"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("Rounds played:   2 (1 damaged line skipped)"), std::string::npos) << r.out;
  // The largest of the children this test waited for: the game alone. Kept, the line
  // alone would pass 100 MiB; the game itself takes some 60 MiB under the sanitizers.
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  EXPECT_LT(usage.ru_maxrss, 96 * 1024) << "kilobytes";
}

}  // namespace
