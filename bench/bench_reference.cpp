// The yardstick of the frame benchmarks: one 640 x 480 8-bit frame turned
// into 32-bit pixels through a palette, the least any 8-bit game does to
// each frame it shows. Targets of machine-bound figures are ratios to it.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

void BM_Reference(benchmark::State& state) {
  std::vector<uint8_t> frame(640 * 480);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7 + i / 640);
  std::array<uint32_t, 256> palette{};
  for (uint32_t i = 0; i < 256; ++i) palette[i] = 0xFF000000u | i * 0x010203u;
  std::vector<uint32_t> out(frame.size());
  for (auto _ : state) {
    for (size_t i = 0; i < frame.size(); ++i) out[i] = palette[frame[i]];
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Reference)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace
