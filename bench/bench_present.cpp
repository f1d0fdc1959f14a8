// Benchmark of the present path: a frame that differs everywhere from the
// last, compared, looked up in the palette and scaled into a 32-bit screen of
// 1024 x 768 (1.6x, mixed), 1920 x 1080 (2.25x, mixed, letterboxed) or
// 1280 x 960 (2x, exact).
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

#include "media/frame_scaler.h"
#include "media/platform.h"
#include "media/shown_frame.h"

namespace {

void BM_Present(benchmark::State& state) {
  const auto screenW = static_cast<int32_t>(state.range(0));
  const auto screenH = static_cast<int32_t>(state.range(1));
  constexpr int32_t kW = media::kScreenWidth;
  constexpr int32_t kH = media::kScreenHeight;
  std::array<std::vector<uint8_t>, 2> frames;
  for (size_t f = 0; f < frames.size(); ++f) {
    frames[f].resize(static_cast<size_t>(kW) * kH);
    for (size_t i = 0; i < frames[f].size(); ++i) frames[f][i] = static_cast<uint8_t>(i * 7 + f);
  }
  std::array<media::Color, 256> colors{};
  media::ScreenFormat format;
  for (uint32_t i = 0; i < 256; ++i) {
    colors[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 128};
    format.lut[i] = i << 16 | (255 - i) << 8 | 128;
  }
  const media::Palette palette(colors);
  media::FrameScaler scaler(kW, kH, media::PlacePicture(kW, kH, screenW, screenH));
  std::vector<uint8_t> screen(static_cast<size_t>(screenW) * screenH * 4);
  media::ShownFrame shown;
  size_t next = 0;
  for (auto _ : state) {
    for (const media::Band& band : shown.Update(frames[next], kW, kH, palette)) {
      scaler.Convert(shown.Pixels().data(), band, format, screen.data(), screenW * 4);
    }
    next ^= 1;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Present)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->Args({1280, 960})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace
