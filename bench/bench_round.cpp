// Benchmarks of whole runs: a 120-second round at 16 ms passes, and start-up
// to the first flipped frame.
#include <benchmark/benchmark.h>

#include "game/frame_tick.h"
#include "game/lifecycle.h"
#include "headless_game.h"

namespace {

// A whole round from the title screen, a bot typing every falling letter and
// firing whenever it can, then the name entry closed.
void BM_WholeRound(benchmark::State& state) {
  bench::GameFolder folder;
  bench::HeadlessGame game(folder, 5000);
  int64_t passes = 0;
  int64_t hits = 0;
  for (auto _ : state) {
    passes += game.PlayRound(16);
    hits += game.State().score > 0 ? 1 : 0;
  }
  state.counters["passes"] =
      benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kAvgIterations);
  if (hits == 0) state.SkipWithError("the bot scored nothing");
}
BENCHMARK(BM_WholeRound)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Start-up (devices, background picture, glyph sheet, sounds, key tables,
// ranking and word files) and the first frame, on a fresh platform each time.
void BM_StartUpToFirstFrame(benchmark::State& state) {
  bench::GameFolder folder;
  const std::string myPath = folder.MyPath();
  for (auto _ : state) {
    auto system = std::make_unique<bench::BenchSystem>();
    auto g = std::make_unique<state::GameState>();
    game::StartUp(*g, *system, myPath);
    int32_t elapsedMs = 0;
    game::FrameTick(*g, elapsedMs);
    benchmark::DoNotOptimize(system->Platform().ScreenPixels().data());
    state.PauseTiming();
    g.reset();
    system.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace
