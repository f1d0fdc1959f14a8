// The server's verification of a sent round: a steady bot's whole round
// (tests/server/cases/) replayed from its ticket's start, without drawing as
// the server does it, and drawn as a headless run draws it. One replay per
// core: 20 ms is 50 rounds a second a core.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "headless_game.h"
#include "server/lists.h"
#include "server/verify.h"

namespace {

std::string CaseRound() {
  std::ifstream in(std::string(RAPIKO_SOURCE_DIR) + "/tests/server/cases/english-4242.script");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Verify(benchmark::State& state, bool drawn) {
  const std::string recording = CaseRound();
  const server::RoundStart start{.seed = 4242,
                                 .words = server::WordLists("").Find("english")->words};
  bench::GameFolder folder;
  server::ReplayOptions options;
  if (drawn) options.pictureFolder = folder.MyPath();
  for (auto _ : state) {
    const server::Verdict verdict = server::ReplayRound(start, recording, options);
    if (!verdict.refusal.empty() || verdict.score == 0) {
      state.SkipWithError("the case round does not replay");
      break;
    }
  }
}

void BM_VerifyRound(benchmark::State& state) { Verify(state, false); }
void BM_VerifyRoundDrawn(benchmark::State& state) { Verify(state, true); }
BENCHMARK(BM_VerifyRound)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_VerifyRoundDrawn)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
