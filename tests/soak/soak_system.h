// The machine around the game for the soak test: the headless platform, with
// a hook that plays each pass before the main loop runs it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "media/headless.h"
#include "media/platform.h"

namespace soak {

class SoakSystem : public media::System {
 public:
  // Runs at the top of every pass, before the quit test; false ends the loop.
  using PassHook = std::function<bool()>;

  explicit SoakSystem(uint32_t startTick) { platform_.SetTick(startTick); }

  void SetPassHook(PassHook hook) { hook_ = std::move(hook); }
  // A mouse button, delivered in the message step of the current pass.
  void Click() { ++clicks_; }

  std::shared_ptr<media::Root> CreateRoot() override { return platform_.CreateRoot(); }
  uint32_t GetTickCount() override { return platform_.Tick(); }
  bool BeginPass() override { return hook_ && hook_(); }
  void DispatchMessages(media::WindowEvents& events) override {
    for (; clicks_ > 0; --clicks_) events.OnMouseDown();
  }

  media::HeadlessPlatform& Platform() { return platform_; }

 private:
  media::HeadlessPlatform platform_;
  PassHook hook_;
  int clicks_ = 0;
};

}  // namespace soak
