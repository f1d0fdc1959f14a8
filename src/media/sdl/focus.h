// Window focus in the message step, and the click that only gives the window its focus.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "media/platform.h"

namespace media {

class SdlFocus {
 public:
  // Reports focus gained or lost to the game; other window events are ignored.
  void OnWindowEvent(const SDL_WindowEvent& event, WindowEvents& events);
  // Whether a button press is a click on the game. The click that gives a
  // window its focus is not; in full screen every click is.
  bool ClickCounts(const SDL_MouseButtonEvent& click, SDL_Window* window, bool fullscreen);

 private:
  bool focused_ = false;
  bool focusClickDue_ = false;  // the window system may pass the focusing click on
  uint32_t gainedAt_ = 0;
};

}  // namespace media
