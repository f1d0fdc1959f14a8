// Benchmark of reading the history of rounds: the statistics of 100,000 rounds, as --stats and
// the statistics screen read them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "headless_game.h"
#include "stats/history_file.h"
#include "stats/summary.h"
#include "storage/write.h"

namespace {

// 100,000 rounds of the game folder's list, some 250 bytes each, every round with 25 keys
// counted.
std::string HundredThousandRounds() {
  const std::string keys = "ABCDEFGHIJKLMNOPQRSTUVWXY";
  std::string bytes = std::string(stats::kHistoryHeader) + "\n";
  for (int i = 0; i < 100000; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "2025-01-01,10:00:00,%d,5,7,100,110,5,2,20,50.0,95.7,",
                  i % 997);
    bytes += line;
    for (std::size_t k = 0; k < keys.size(); ++k) {
      bytes += std::string(k ? " " : "") + keys[k] + ":" + std::to_string((i + k) % 10) + ":" +
               std::to_string(k % 3) + ":" + std::to_string((i * k) % 2);
    }
    bytes += ",,0\n";  // the game folder's list, without practice
  }
  return bytes;
}

void BM_ReadHistory100k(benchmark::State& state) {
  bench::GameFolder folder;
  storage::ReplaceFile(folder.MyPath() + stats::kHistoryFileName, HundredThousandRounds());
  for (auto _ : state) {
    const state::ProgressSummary summary =
        stats::ReadSummary(folder.MyPath(), stats::ListFilter::Of(""));
    if (summary.rounds != 100000) state.SkipWithError("not every round was read");
    benchmark::DoNotOptimize(summary.weakest.data());
  }
}
BENCHMARK(BM_ReadHistory100k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
