// Window focus in the message step, and the click that only gives the window its focus.
#include "media/sdl/focus.h"

namespace media {
namespace {

// A window manager that focuses on a click hands the click on just after the
// focus; a click this soon after gaining focus is taken to be that one.
constexpr uint32_t kFocusClickMs = 300;

}  // namespace

void SdlFocus::OnWindowEvent(const SDL_WindowEvent& event, WindowEvents& events) {
  if (event.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
    focused_ = true;
    focusClickDue_ = true;
    gainedAt_ = event.timestamp;
    events.OnFocusGained();
  } else if (event.event == SDL_WINDOWEVENT_FOCUS_LOST) {
    focused_ = false;
    focusClickDue_ = false;
    events.OnFocusLost();
  }
}

bool SdlFocus::ClickCounts(const SDL_MouseButtonEvent& click, SDL_Window* window, bool fullscreen) {
  if (fullscreen || !window) return true;
  if (!focused_) {
    // Where no window manager gives focus on a click, the window takes it.
    SDL_SetWindowInputFocus(window);
    return false;
  }
  if (focusClickDue_) {
    focusClickDue_ = false;
    if (click.timestamp - gainedAt_ <= kFocusClickMs) return false;
  }
  return true;
}

}  // namespace media
