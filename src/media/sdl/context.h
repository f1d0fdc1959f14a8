// What every SDL device object shares: SDL's lifetime, the options, the
// embedded files, the key event queue and the screen.
#pragma once

#include <SDL.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/display_common.h"
#include "media/platform.h"
#include "media/sdl/system.h"

namespace media {

class SdlScreen;

// Held by every SDL object so that SDL's video and events stay up until the
// last of them is released, whatever order the game releases them in.
class SdlContext {
 public:
  SdlContext(const SdlOptions& options, ResourceLookup resources);
  ~SdlContext();
  SdlContext(const SdlContext&) = delete;
  SdlContext& operator=(const SdlContext&) = delete;

  const SdlOptions& Options() const { return options_; }
  // The player's changes while the game runs (the options screen).
  void SetMute(bool mute) { options_.mute = mute; }
  void SetKeyReading(KeyReading keys) { options_.keys = keys; }
  // Full screen or a window, and its scale, as the player left them: a
  // window made next (a watched round's) opens so.
  void SetDisplayChoice(bool window, int32_t scale) {
    options_.window = window;
    options_.scale = scale;
  }
  std::span<const uint8_t> Resource(std::string_view name) const { return resources_(name); }
  // Whether the last sound device the game asked for could not be opened (or was lost).
  void NoteSoundMissing(bool missing) { soundMissing_ = missing; }
  bool SoundMissing() const { return soundMissing_; }

  // Work done once a pass, after the messages (the sound device's check for
  // silence).
  void OnEachPass(std::function<void()> work) { passWork_.push_back(std::move(work)); }
  void RunPassWork() {
    for (const auto& work : passWork_) work();
  }

  // The window, once the display has made one (for Alt+Enter and redraws).
  void SetScreen(std::weak_ptr<SdlScreen> screen) { screen_ = std::move(screen); }
  std::shared_ptr<SdlScreen> Screen() const { return screen_.lock(); }

  // The keyboard device's queue: filled only while it is acquired.
  void SetCollectingKeys(bool on);
  // Empties the queue, and leaves out the presses of the next ms milliseconds.
  void DropKeysFor(uint32_t ms);
  // Takes a key event from SDL into the queue (or toggles full screen on
  // Alt+Enter). Other event types are ignored. A press takes the text it
  // typed, which SDL queues right after it, with it. True when it was a
  // press that the queue took, or Alt+Enter.
  bool OnKeyEvent(const SDL_KeyboardEvent& key);
  // Moves the key events that SDL holds now into the queue, leaving every
  // other event for the message step; asks the display for new ones first
  // (Pump). The number of presses taken.
  int32_t PumpKeys();
  // Asks the display for what it sent, unless that was done a moment ago.
  void Pump();
  // SDL has just read everything the display sent.
  void NotePumped() { lastPump_ = SDL_GetPerformanceCounter(); }
  std::deque<KeyEvent>& Keys() { return keys_; }

 private:
  // One key event into the device's queue, while it has room (false when it had none).
  bool Queue(int32_t set1, bool down, uint32_t timestamp);
  bool soundMissing_ = false;
  SdlOptions options_;
  ResourceLookup resources_;
  std::weak_ptr<SdlScreen> screen_;
  std::vector<std::function<void()>> passWork_;
  std::deque<KeyEvent> keys_;
  bool collecting_ = false;
  uint64_t lastPump_ = 0;
  // SDL's ticks (as key events carry them) before which presses are left out.
  std::optional<uint32_t> dropUntil_;
  int32_t sequence_ = 0;
  SDL_Scancode swallowedRelease_ = SDL_SCANCODE_UNKNOWN;
  // The code each held key reported when it went down, so that its release
  // reports the same one whatever Shift or the layout did meanwhile.
  std::array<int32_t, SDL_NUM_SCANCODES> pressedAs_{};

  int32_t PressCode(const SDL_Keysym& key, const std::string& text) const;
  int32_t ReleaseCode(const SDL_Keysym& key);
};

using SdlContextPtr = std::shared_ptr<SdlContext>;

// The device objects of the SDL backend.
std::shared_ptr<Display> MakeSdlDisplay(SdlContextPtr context);
std::shared_ptr<SoundDevice> MakeSdlSoundDevice(SdlContextPtr context);
std::shared_ptr<Input> MakeSdlInput(SdlContextPtr context);

}  // namespace media
