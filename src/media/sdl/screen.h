// The window (or full screen) that shows the flipped 8-bit frame.
#pragma once

#include <SDL.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/frame_scaler.h"
#include "media/sdl/context.h"
#include "media/shown_frame.h"
#include "media/surface.h"

namespace media {

class SdlScreen : public Presenter {
 public:
  explicit SdlScreen(SdlContextPtr context);
  ~SdlScreen() override;
  SdlScreen(const SdlScreen&) = delete;
  SdlScreen& operator=(const SdlScreen&) = delete;

  // Makes the window: desktop full screen, or a window (--scale times the
  // picture, or the largest picture of its shape that fits the desktop).
  void Open();
  // Leaves full screen and closes the window.
  void Close();
  bool IsOpen() const { return window_ != nullptr; }
  bool IsFullscreen() const { return fullscreen_; }
  SDL_Window* Window() const { return window_; }
  // The window's caption, kept for a window made later.
  void SetTitle(const std::string& title);

  void ToggleFullscreen();
  // Full screen, or a window of that scale (0: the largest that fits).
  void SetDisplay(bool fullscreen, int32_t scale);
  // The largest whole multiple of the picture whose window fits the desktop.
  int32_t LargestScale() const;
  // Window events from the message step: exposure shows the picture again,
  // a new size places it anew.
  void OnWindowEvent(const SDL_WindowEvent& event);
  // SDL lost what it drew with (device reset): draw everything again.
  void OnRenderReset();
  // How many times a picture has been sent to the display.
  uint64_t PicturesShown() const { return picturesShown_; }
  // The display's refresh period (60 Hz where it does not say).
  std::chrono::steady_clock::duration RefreshPeriod() const { return refreshPeriod_; }

  // Shows what changed since the last frame, at once.
  void Present(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
               const Palette& palette, const std::vector<uint8_t>* changedRows) override;

 private:
  // The desktop's usable area less the window's frame (none while not yet
  // known): where a window's picture may lie.
  SDL_Rect PictureRoom() const;
  // The window's size when not full screen, and where it goes.
  SDL_Point WindowSize() const;
  SDL_Point WindowPosition(SDL_Point size) const;
  // Gives the window that size and place.
  void PlaceWindow();
  // Places the window again once its frame is known, the first time only.
  void PlaceWhenFramed();
  // Converts the bands of the shown frame into the window's surface and
  // presents them; everything, after clearing, when the surface is new.
  void Show(const std::vector<Band>& bands);
  // Shows the whole frame again after the window lost it.
  void ShowAgain();
  void UpdateRefreshPeriod();

  SdlContextPtr context_;  // SDL stays up while the window lives
  SdlOptions options_;
  SDL_Window* window_ = nullptr;
  std::string title_;
  bool fullscreen_ = false;
  bool fullscreenPending_ = false;  // asked for after the first picture
  bool placePending_ = false;       // placed again when the frame is known
  ShownFrame shown_;
  // The window surface drawn last, its size, and how the picture lies on it.
  SDL_Surface* surface_ = nullptr;
  int32_t surfaceW_ = 0;
  int32_t surfaceH_ = 0;
  std::optional<FrameScaler> scaler_;
  // The surface's pixel format, and the shown palette in it.
  ScreenFormat format_;
  uint32_t lutFormat_ = 0;
  std::array<Color, 256> lutColors_{};
  std::vector<SDL_Rect> rects_;
  uint64_t picturesShown_ = 0;
  std::chrono::steady_clock::duration refreshPeriod_{std::chrono::microseconds(16667)};
};

}  // namespace media
