// The headless platform: no window or devices, a virtual clock, scripted
// input and logs of what the game did.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
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

  // The root object of this platform's devices.
  std::shared_ptr<Root> CreateRoot();

  // The virtual tick count.
  uint32_t Tick() const { return tick_; }
  void SetTick(uint32_t tick) { tick_ = tick; }
  void Advance(uint32_t ms) { tick_ += ms; }

  // Queues a key event in the keyboard device (whether or not it exists
  // yet); an event queued while 64 wait is dropped. Returns false if dropped.
  bool QueueKey(int32_t keyCode, int32_t data);
  size_t PendingKeys() const { return keys_.size(); }

  // Every operation on the back buffer since ClearFrame, and the flips.
  const std::vector<SurfaceOp>& FrameOps() const { return frameOps_; }
  void ClearFrame() { frameOps_.clear(); }

  // Sound calls since the last take: "sndHit.rewind", "sndHit.play".
  std::vector<std::string> TakeSoundLog();
  // Whether the buffer of that field name ("sndHit") is playing now, by the
  // virtual clock and the length of its sound.
  bool IsSoundPlaying(const std::string& field) const;

  // Every platform call in order, e.g. "Display.SetDisplayMode(640,480,8)",
  // for checking the order of start-up and shutdown.
  const std::vector<std::string>& CallLog() const { return callLog_; }

  // The screen as shown after the last flip (all index 0 before any flip),
  // and its palette.
  const std::vector<uint8_t>& ScreenPixels() const { return screen_; }
  const Palette& ScreenPalette() const { return screenPalette_; }

  // Internal wiring for the device objects of this platform.
  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  friend struct Impl;
  uint32_t tick_ = 0;
  std::deque<KeyEvent> keys_;
  int32_t keySequence_ = 0;
  std::vector<SurfaceOp> frameOps_;
  std::vector<std::string> soundLog_;
  std::vector<std::string> callLog_;
  std::vector<uint8_t> screen_;
  Palette screenPalette_;
  std::unique_ptr<Impl> impl_;
};

// Writes 8-bit pixels through their palette as a PNG file. Throws
// PlatformError when the file cannot be written.
void WritePng(const std::string& path, const std::vector<uint8_t>& pixels, int32_t width,
              int32_t height, const Palette& palette);

}  // namespace media
