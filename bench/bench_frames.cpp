// Benchmarks of single frames: a play pass with a full field and a title pass.
#include <benchmark/benchmark.h>

#include "headless_game.h"

namespace {

constexpr int32_t kPassMs = 16;

// One play pass with 30 falling letters, 8 locks, the shot in flight and 8
// pop-ups, rendered into the real back buffer. The play fields are put back
// before every pass (a copy of about 5 KB, inside the timing) so that every
// pass draws the same full field.
void BM_PlayPass(benchmark::State& state) {
  bench::GameFolder folder;
  bench::HeadlessGame game(folder, 5000);
  game.FillField();
  const bench::PlaySnapshot full(game.State());

  game.Pass(kPassMs);
  const state::GameState& g = game.State();
  if (g.lockCount != 8 || g.ringTail != 31 || !g.shotActive || g.popups[7].timeLeft <= 0) {
    state.SkipWithError("the field did not stay full for a pass");
    return;
  }
  const auto opsPerPass = static_cast<double>(game.Platform().FrameOps().size());

  for (auto _ : state) {
    full.RestoreInto(game.State());
    game.Pass(kPassMs);
  }
  state.counters["ops"] = opsPerPass;
}
BENCHMARK(BM_PlayPass)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// One title pass with all ten ranking places filled.
void BM_TitlePass(benchmark::State& state) {
  bench::GameFolder folder;
  bench::HeadlessGame game(folder, 5000);
  state::GameState& g = game.State();
  for (int i = 0; i < 10; ++i) {
    g.rankKeys[i] = (20 - i) * 10000000 + (25 - i) * 100000 + 300 - i;
    g.rankNames[i] = "PLAYER" + std::to_string(i);
  }
  g.score = 297;  // one place drawn in red
  for (auto _ : state) game.Pass(kPassMs);
  if (g.gameMode != state::kModeTitle) state.SkipWithError("left the title screen");
}
BENCHMARK(BM_TitlePass)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace
