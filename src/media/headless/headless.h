// The headless platform: no window or devices, a virtual clock, scripted
// input and logs of what the game did.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/platform.h"
#include "media/surface.h"

namespace media {

class HeadlessPlatform {
 public:
  HeadlessPlatform();
  ~HeadlessPlatform();
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  // The root object of this platform's devices. The objects may outlive the
  // platform; what they log then goes nowhere.
  std::shared_ptr<Root> CreateRoot();

  // The virtual tick count. Like the real one it wraps at 2^32.
  uint32_t Tick() const;
  void SetTick(uint32_t tick);
  void Advance(uint32_t ms);

  // Queues a key event in the keyboard device (whether or not it exists
  // yet), time-stamped with the tick count; an event queued while 64 wait is
  // dropped. Returns false if dropped.
  bool QueueKey(int32_t keyCode, int32_t data);

  // Every operation on the back buffer and the primary since ClearFrame, the
  // flips included, in order.
  const std::vector<SurfaceOp>& FrameOps() const;
  void ClearFrame();

  // Sound calls since the last take, by resource: "WAVHIT.rewind", "WAVHIT.play".
  std::vector<std::string> TakeSoundLog();

  // Every platform call in order, e.g. "Display.SetDisplayMode(640,480,8)",
  // and "Release.<object>" when an object is destroyed, for checking the
  // order of start-up and shutdown. Per-frame drawing and sound plays are
  // not in it (FrameOps and the sound log have them).
  const std::vector<std::string>& CallLog() const;

  // The screen as shown after the last flip (all index 0 before any flip),
  // and its palette.
  const std::vector<uint8_t>& ScreenPixels() const;
  const Palette& ScreenPalette() const;

  // Where the embedded glyph sheet and sounds come from: FindResource unless
  // a test gives its own.
  void SetResources(std::function<std::span<const uint8_t>(std::string_view)> lookup);

  // Internal wiring for the device objects of this platform; shared with
  // them so that they stay safe to release after the platform is gone.
  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  std::shared_ptr<Impl> impl_;
};

}  // namespace media
