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

}  // namespace

SdlContext::SdlContext(const SdlOptions& options, ResourceLookup resources)
    : options_(options), resources_(std::move(resources)) {}

SdlContext::~SdlContext() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS); }

void SdlContext::SetCollectingKeys(bool on) {
  collecting_ = on;
  if (!on) keys_.clear();
}

void SdlContext::OnKeyEvent(const SDL_KeyboardEvent& key) {
  const bool down = key.type == SDL_KEYDOWN;
  if (!down && key.type != SDL_KEYUP) return;
  // Holding a key gives no further events.
  if (down && key.repeat) return;
  const SDL_Scancode code = key.keysym.scancode;

  // Alt+Enter belongs to the window, not to the game (Enter would fire).
  if (down && IsEnter(code) && (key.keysym.mod & KMOD_ALT)) {
    if (auto screen = Screen()) screen->ToggleFullscreen();
    swallowedRelease_ = code;
    return;
  }
  if (!down && code == swallowedRelease_) {
    swallowedRelease_ = SDL_SCANCODE_UNKNOWN;
    return;
  }

  const int32_t set1 = Set1FromSdlScancode(static_cast<int32_t>(code));
  if (set1 == 0 || !collecting_) return;
  // The device holds 64 unread events; newer ones are lost, as a full
  // hardware buffer would lose them.
  if (keys_.size() >= kKeyQueueLimit) return;
  KeyEvent e;
  e.keyCode = set1;
  e.data = down ? kKeyDown : 0;
  e.timeStamp = static_cast<int32_t>(key.timestamp);
  e.sequence = sequence_;
  sequence_ = sequence_ == INT32_MAX ? 0 : sequence_ + 1;
  keys_.push_back(e);
}

void SdlContext::PumpKeys() {
  SDL_PumpEvents();
  SDL_Event events[16];
  int n = 0;
  while ((n = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP)) > 0) {
    for (int i = 0; i < n; ++i) OnKeyEvent(events[i].key);
  }
}

}  // namespace media
