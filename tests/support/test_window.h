// A window for replays in tests: the headless platform's picture and keys,
// and a clock moved on only by the waits the replay asks for.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "media/headless/headless.h"
#include "media/platform.h"

namespace testing_support {

struct TestWindow : media::System {
  std::shared_ptr<media::Root> CreateRoot() override { return platform.CreateRoot(); }
  // Each look at the clock finds it lag milliseconds on (a slow machine).
  uint32_t GetTickCount() override { return clock += lag; }
  bool BeginPass() override { return true; }
  void DispatchMessages(media::WindowEvents&) override {}
  void Wait(uint32_t ms) override {
    clock += ms;
    waited += ms;
  }
  int Flips() const {
    const auto& ops = platform.FrameOps();
    return static_cast<int>(std::count_if(ops.begin(), ops.end(), [](const media::SurfaceOp& op) {
      return op.kind == op.Kind::Flip;
    }));
  }

  media::HeadlessPlatform platform;
  uint32_t clock = 0;
  uint32_t lag = 0;
  uint64_t waited = 0;
};

}  // namespace testing_support
