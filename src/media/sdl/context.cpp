// What every SDL device object shares: SDL's lifetime, the options, the
// embedded files, the key event queue and the screen.
#include "media/sdl/context.h"

#include <climits>

#include "media/scancodes.h"
#include "media/sdl/screen.h"

namespace media {
namespace {

constexpr size_t kKeyQueueLimit = 64;

bool IsEnter(SDL_Scancode code) {
  return code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
}

// The text that the press just taken from SDL typed: SDL queues it as the
// next keyboard event. Empty when the press typed nothing.
std::string TakeTypedText() {
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_TEXTINPUT) != 1 ||
      next.type != SDL_TEXTINPUT) {
    return {};
  }
  SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
  return next.text.text;
}

}  // namespace

SdlContext::SdlContext(const SdlOptions& options, ResourceLookup resources)
    : options_(options), resources_(std::move(resources)) {}

SdlContext::~SdlContext() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS); }

void SdlContext::SetCollectingKeys(bool on) {
  collecting_ = on;
  if (!on) keys_.clear();
}

void SdlContext::DropKeysFor(uint32_t ms) {
  keys_.clear();
  dropUntil_ = static_cast<uint32_t>(SDL_GetTicks64() + ms);
}

int32_t SdlContext::PressCode(const SDL_Keysym& key, const std::string& text) const {
  const auto scancode = static_cast<int32_t>(key.scancode);
  if (options_.keys == KeyReading::Position) return Set1FromSdlScancode(scancode);
  return Set1FromTypedKey(scancode, static_cast<int32_t>(key.sym), text);
}

int32_t SdlContext::ReleaseCode(const SDL_Keysym& key) {
  const auto at = static_cast<size_t>(key.scancode);
  if (at >= pressedAs_.size()) return 0;
  const int32_t code = pressedAs_[at] != 0 ? pressedAs_[at] : PressCode(key, {});
  pressedAs_[at] = 0;
  return code;
}

bool SdlContext::OnKeyEvent(const SDL_KeyboardEvent& key) {
  const bool down = key.type == SDL_KEYDOWN;
  if (!down && key.type != SDL_KEYUP) return false;
  const std::string text =
      down && options_.keys == KeyReading::Character ? TakeTypedText() : std::string();
  // Holding a key gives no further events.
  if (down && key.repeat) return false;
  const SDL_Scancode code = key.keysym.scancode;

  // Alt+Enter belongs to the window, not to the game (Enter would fire).
  if (down && IsEnter(code) && (key.keysym.mod & KMOD_ALT)) {
    if (auto screen = Screen()) screen->ToggleFullscreen();
    swallowedRelease_ = code;
    return true;
  }
  if (!down && code == swallowedRelease_) {
    swallowedRelease_ = SDL_SCANCODE_UNKNOWN;
    return false;
  }

  const int32_t set1 = down ? PressCode(key.keysym, text) : ReleaseCode(key.keysym);
  if (down && static_cast<size_t>(code) < pressedAs_.size()) pressedAs_[code] = set1;
  if (set1 == 0 || !collecting_) return false;
  if (dropUntil_) {
    if (static_cast<int32_t>(key.timestamp - *dropUntil_) < 0) return false;
    dropUntil_.reset();
  }
  // A letter that stands for two (ß as SS) types the first as a press and release of its own.
  if (down) {
    const auto keycode = static_cast<int32_t>(key.keysym.sym);
    for (const int32_t before : Set1TypedBefore(static_cast<int32_t>(code), keycode, text)) {
      Queue(before, true, key.timestamp);
      Queue(before, false, key.timestamp);
    }
  }
  return Queue(set1, down, key.timestamp) && down;
}

bool SdlContext::Queue(int32_t set1, bool down, uint32_t timestamp) {
  // The device holds 64 unread events; newer ones are lost, as a full
  // hardware buffer would lose them.
  if (keys_.size() >= kKeyQueueLimit) return false;
  KeyEvent e;
  e.keyCode = set1;
  e.data = down ? kKeyDown : 0;
  e.timeStamp = static_cast<int32_t>(timestamp);
  e.sequence = sequence_;
  sequence_ = sequence_ == INT32_MAX ? 0 : sequence_ + 1;
  keys_.push_back(e);
  return true;
}

void SdlContext::Pump() {
  // Asking the display again a moment after the last time costs system
  // calls each frame and finds nothing new.
  const uint64_t now = SDL_GetPerformanceCounter();
  if (now - lastPump_ > SDL_GetPerformanceFrequency() / 1000) {
    SDL_PumpEvents();
    lastPump_ = now;
  }
}

int32_t SdlContext::PumpKeys() {
  Pump();
  // One at a time, so that a press finds its text still queued after it.
  int32_t presses = 0;
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_TEXTINPUT) == 1) {
    presses += OnKeyEvent(e.key);  // text left over from a press already taken is ignored
  }
  return presses;
}

}  // namespace media
