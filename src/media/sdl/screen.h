// The window (or full screen) that shows the flipped 8-bit frame.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "media/sdl/context.h"
#include "media/surface.h"

namespace media {

class SdlScreen : public Presenter {
 public:
  explicit SdlScreen(SdlContextPtr context);
  ~SdlScreen() override;
  SdlScreen(const SdlScreen&) = delete;
  SdlScreen& operator=(const SdlScreen&) = delete;

  // Makes the window: desktop full screen, or a window of the options' scale.
  void Open();
  // Leaves full screen and closes the window.
  void Close();
  bool IsOpen() const { return window_ != nullptr; }
  bool IsFullscreen() const { return fullscreen_; }
  SDL_Window* Window() const { return window_; }

  void ToggleFullscreen();
  // Window events from the message step: exposure redraws the last frame,
  // a new size rescales.
  void OnWindowEvent(const SDL_WindowEvent& event);
  // The renderer lost its textures (device reset): make them again.
  void OnRenderReset();

  // Converts the frame through its palette, shows it and paces the loop.
  void Present(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
               const Palette& palette) override;

 private:
  void CreateTexture();
  void UpdateScaling();
  // Shows argb_ again; false if the texture could not take it.
  bool Show();
  void PaceFrame();

  SdlContextPtr context_;  // SDL stays up while the window lives
  SdlOptions options_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool fullscreen_ = false;
  bool haveFrame_ = false;
  std::vector<uint32_t> argb_;
  uint64_t lastFlip_ = 0;
};

}  // namespace media
