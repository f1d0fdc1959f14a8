// The game's correctly rounded atan, sin and cos beside the C library's, on the steering's inputs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "state/exact_math.h"

namespace {

constexpr double kGamePi = 3.14159265358979;
constexpr size_t kInputs = 4096;  // a power of two, cycled through

// dy/dx between the shot and a letter, and the angle steered from it, as the steering
// computes them: positions spread over the screen, a few nearly straight above or below.
struct SteeringInputs {
  std::vector<double> ratios;
  std::vector<double> angles;
  SteeringInputs() {
    uint64_t s = 0x9E3779B97F4A7C15u;
    const auto next = [&s] {  // xorshift64*: [0, 1)
      s ^= s >> 12;
      s ^= s << 25;
      s ^= s >> 27;
      return static_cast<double>((s * 0x2545F4914F6CDD1Du) >> 11) * 0x1p-53;
    };
    for (size_t i = 0; i < kInputs; ++i) {
      double dx = 760 * (next() - next());
      const double dy = 760 * (next() - next());
      if (i % 8 == 0) dx = std::ldexp(next() - 0.5, -20);
      if (dx == 0) dx = 1;
      ratios.push_back(dy / dx);
      angles.push_back(state::ExactAtan(dy / dx) + (dx > 0 ? kGamePi : 0));
    }
  }
};

const SteeringInputs& Inputs() {
  static const SteeringInputs inputs;
  return inputs;
}

void BM_Function(benchmark::State& state, double (*f)(double), bool ofAngles) {
  const std::vector<double>& in = ofAngles ? Inputs().angles : Inputs().ratios;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(in[i]));
    i = (i + 1) % kInputs;
  }
}

double StdAtan(double x) { return std::atan(x); }
double StdSin(double x) { return std::sin(x); }
double StdCos(double x) { return std::cos(x); }

BENCHMARK_CAPTURE(BM_Function, ExactAtan, state::ExactAtan, false)->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(BM_Function, StdAtan, StdAtan, false)->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(BM_Function, ExactSin, state::ExactSin, true)->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(BM_Function, StdSin, StdSin, true)->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(BM_Function, ExactCos, state::ExactCos, true)->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(BM_Function, StdCos, StdCos, true)->Unit(benchmark::kNanosecond);

// What one steered pass costs: atan of the ratio, then cos and sin of the angle.
void BM_Steering(benchmark::State& state) {
  const SteeringInputs& in = Inputs();
  size_t i = 0;
  for (auto _ : state) {
    const double a = state::ExactAtan(in.ratios[i]) + (i % 2 ? kGamePi : 0);
    benchmark::DoNotOptimize(state::ExactCos(a));
    benchmark::DoNotOptimize(state::ExactSin(a));
    i = (i + 1) % kInputs;
  }
}
BENCHMARK(BM_Steering)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace
