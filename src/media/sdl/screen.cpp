// The window (or full screen) that shows the flipped 8-bit frame.
#include "media/sdl/screen.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <algorithm>
#include <string>

#include "media/platform.h"
#include "media/sdl/icon.h"

namespace media {
namespace {

constexpr int32_t kMaxScale = 8;
// Where the display does not tell its refresh rate.
constexpr int kDefaultRefreshHz = 60;
// The window's caption tells players the keys of the title screen, in the game's language
// once the game says which (SdlControls::FollowGame). A page names its tab itself.
#ifdef __EMSCRIPTEN__
constexpr const char* kWindowTitle = nullptr;
#else
constexpr const char* kWindowTitle = "Rapiko - Space: play, Tab: statistics, O: options";
#endif

[[noreturn]] void Fail(const std::string& what) {
  throw PlatformError(what + ": " + SDL_GetError());
}

int DisplayOf(SDL_Window* window) {
  const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  return display < 0 ? 0 : display;
}

// The desktop area of the window's display (the first display before there
// is a window).
SDL_Rect DesktopBounds(SDL_Window* window = nullptr) {
  SDL_Rect bounds{0, 0, kScreenWidth, kScreenHeight};
  if (SDL_GetDisplayBounds(DisplayOf(window), &bounds) != 0) {
    return {0, 0, kScreenWidth, kScreenHeight};
  }
  return bounds;
}

// The desktop area of the window's display without its panels.
SDL_Rect UsableBounds(SDL_Window* window) {
  SDL_Rect usable{0, 0, kScreenWidth, kScreenHeight};
  if (SDL_GetDisplayUsableBounds(DisplayOf(window), &usable) != 0) {
    return {0, 0, kScreenWidth, kScreenHeight};
  }
  return usable;
}

#ifdef __EMSCRIPTEN__
// In the web page the canvas fills the page (web/page.css) and SDL gives it the page's size,
// so the window is never sized; full screen is the browser's, of the whole page, as the
// page's own button makes it (web/page.js): 1 on, 0 off, -1 the other way.
EM_JS(void, rapiko_page_full_screen, (int on), {
  if (Module["rapikoFullScreen"]) Module["rapikoFullScreen"](on);
});
#endif

}  // namespace

SdlScreen::SdlScreen(SdlContextPtr context)
    : context_(std::move(context)), options_(context_->Options()) {}

SdlScreen::~SdlScreen() { Close(); }

SDL_Rect SdlScreen::PictureRoom() const {
  const SDL_Rect usable = UsableBounds(window_);
  int top = 0, left = 0, bottom = 0, right = 0;
  if (window_ && SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;
  }
  return {usable.x + left, usable.y + top, usable.w - left - right, usable.h - top - bottom};
}

int32_t SdlScreen::LargestScale() const {
  const SDL_Rect room = PictureRoom();
  return std::clamp(std::min(room.w / kScreenWidth, room.h / kScreenHeight), 1, kMaxScale);
}

SDL_Point SdlScreen::WindowSize() const {
  // A scale chosen on a larger desktop gives way to the largest that fits.
  if (options_.scale > 0) {
    const int32_t scale = std::min(options_.scale, LargestScale());
    return {kScreenWidth * scale, kScreenHeight * scale};
  }
  // The largest picture of its shape that fits, at least 1x.
  const SDL_Rect room = PictureRoom();
  const Placement fit = PlacePicture(kScreenWidth, kScreenHeight, room.w, room.h);
  return {std::max(fit.width, kScreenWidth), std::max(fit.height, kScreenHeight)};
}

SDL_Point SdlScreen::WindowPosition(SDL_Point size) const {
  // SDL places the picture, not the frame: centred in the room, the frame
  // stays on the desktop, its title bar never above it.
  const SDL_Rect room = PictureRoom();
  return {room.x + std::max(0, (room.w - size.x) / 2), room.y + std::max(0, (room.h - size.y) / 2)};
}

void SdlScreen::PlaceWindow() {
#ifndef __EMSCRIPTEN__
  const SDL_Point size = WindowSize();
  const SDL_Point at = WindowPosition(size);
  SDL_SetWindowSize(window_, size.x, size.y);
  SDL_SetWindowPosition(window_, at.x, at.y);
#endif
}

void SdlScreen::PlaceWhenFramed() {
  if (!placePending_) return;
  int top = 0, left = 0, bottom = 0, right = 0;
  // Where the system tells no frame (a page), it never will: not asked again each frame.
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
    placePending_ = false;
    return;
  }
  if (top + left + bottom + right == 0) return;
  placePending_ = false;
  PlaceWindow();
}

void SdlScreen::Open() {
  if (window_) return;
  if (options_.scale < 0 || options_.scale > kMaxScale) {
    throw PlatformError("window scale " + std::to_string(options_.scale) +
                        " is not between 1 and " + std::to_string(kMaxScale));
  }
  // Frames go to the window's own surface, in its own pixel format. On X11
  // SDL would otherwise put an OpenGL texture behind that surface, loading a
  // GL (one rasterised on the processor under Xvfb or a remote display) only
  // to hand the X server what it takes directly. SDL_FRAMEBUFFER_ACCELERATION
  // in the environment still decides.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::string(driver) == "x11") {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  fullscreen_ = !options_.window;
  if (fullscreen_) {
    // A borderless window as large as the desktop, so that it covers the
    // screen even where no window manager honours the full-screen request;
    // that request is made after the first picture, because SDL waits up to
    // 100 ms for a window manager's answer and the screen would stay empty.
    const SDL_Rect desktop = DesktopBounds();
    window_ = SDL_CreateWindow(title_.empty() ? kWindowTitle : title_.c_str(), desktop.x, desktop.y,
                               desktop.w, desktop.h, SDL_WINDOW_BORDERLESS | SDL_WINDOW_RESIZABLE);
    fullscreenPending_ = true;
  } else {
    const SDL_Point size = WindowSize();
    const SDL_Point at = WindowPosition(size);
    window_ = SDL_CreateWindow(title_.empty() ? kWindowTitle : title_.c_str(), at.x, at.y, size.x,
                               size.y, SDL_WINDOW_RESIZABLE);
    // The frame is known once the window manager has put it on (at once on
    // Windows, a few passes later on X11): then the window is fitted again.
    placePending_ = true;
  }
  if (!window_) Fail("cannot open the window");
  PlaceWhenFramed();
  SetWindowIcon(window_, context_->Resource("ICON"));
  // Not in a page: there a canvas smaller than the picture (a phone's) would be kept at the
  // minimum while the page squeezes it out of shape; the picture is scaled down instead.
#ifndef __EMSCRIPTEN__
  SDL_SetWindowMinimumSize(window_, kScreenWidth, kScreenHeight);
#endif
  if (!SDL_GetWindowSurface(window_)) {
    const std::string error = SDL_GetError();
    Close();
    throw PlatformError("cannot draw in the window: " + error);
  }
  UpdateRefreshPeriod();
  SDL_ShowCursor(fullscreen_ ? SDL_DISABLE : SDL_ENABLE);
}

void SdlScreen::Close() {
  if (window_) {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_DestroyWindow(window_);
    SDL_ShowCursor(SDL_ENABLE);
  }
  window_ = nullptr;
  surface_ = nullptr;
  scaler_.reset();
}

void SdlScreen::SetTitle(const std::string& title) {
  title_ = title;
  if (window_) SDL_SetWindowTitle(window_, title_.c_str());
}

void SdlScreen::ToggleFullscreen() {
  if (!window_) return;
#ifdef __EMSCRIPTEN__
  rapiko_page_full_screen(-1);
  return;
#endif
  fullscreenPending_ = false;
  fullscreen_ = !fullscreen_;
  if (fullscreen_) {
    const SDL_Rect desktop = DesktopBounds(window_);
    SDL_SetWindowPosition(window_, desktop.x, desktop.y);
    SDL_SetWindowSize(window_, desktop.w, desktop.h);
  }
  if (SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
    fullscreen_ = !fullscreen_;  // the old mode stays
    return;
  }
  if (!fullscreen_) {
    SDL_SetWindowBordered(window_, SDL_TRUE);
    PlaceWindow();
    placePending_ = true;  // a window opened full screen gets its frame only now
  }
  SDL_ShowCursor(fullscreen_ ? SDL_DISABLE : SDL_ENABLE);
  UpdateRefreshPeriod();
  ShowAgain();
  context_->SetDisplayChoice(!fullscreen_, options_.scale);
}

void SdlScreen::SetDisplay(bool fullscreen, int32_t scale) {
  options_.scale = scale;
  context_->SetDisplayChoice(!fullscreen, scale);
  if (!window_) return;
#ifdef __EMSCRIPTEN__
  rapiko_page_full_screen(fullscreen ? 1 : 0);
  return;
#endif
  if (fullscreen != fullscreen_) {
    ToggleFullscreen();
  } else if (!fullscreen_) {
    PlaceWindow();
  }
}

void SdlScreen::OnWindowEvent(const SDL_WindowEvent& event) {
  if (!window_ || event.windowID != SDL_GetWindowID(window_)) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // Never leave the window black until the next changed frame.
      ShowAgain();
      break;
    default:
      break;
  }
}

void SdlScreen::OnRenderReset() { ShowAgain(); }

void SdlScreen::ShowAgain() {
  if (!window_ || shown_.Empty()) return;
  surface_ = nullptr;  // cleared and drawn whole
  Show({});
}

void SdlScreen::Show(const std::vector<Band>& bands) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;  // none now (a minimised window): drawn on the next event
  const bool fresh = surface != surface_ || surface->w != surfaceW_ || surface->h != surfaceH_;
  if (fresh) {
    surface_ = surface;
    surfaceW_ = surface->w;
    surfaceH_ = surface->h;
    const Placement at = PlacePicture(shown_.Width(), shown_.Height(), surface->w, surface->h);
    scaler_.emplace(shown_.Width(), shown_.Height(), at);
    // Black bars where the shapes differ; the picture covers the rest.
    const uint32_t black = SDL_MapRGB(surface->format, 0, 0, 0);
    const SDL_Rect bars[] = {{0, 0, surface->w, at.y},
                             {0, at.y + at.height, surface->w, surface->h - at.y - at.height},
                             {0, at.y, at.x, at.height},
                             {at.x + at.width, at.y, surface->w - at.x - at.width, at.height}};
    for (const SDL_Rect& bar : bars) {
      if (bar.w > 0 && bar.h > 0) SDL_FillRect(surface, &bar, black);
    }
  }
  const auto& colors = shown_.GetPalette().Colors();
  if (surface->format->format != lutFormat_ || colors != lutColors_) {
    for (size_t i = 0; i < colors.size(); ++i) {
      format_.lut[i] = SDL_MapRGB(surface->format, colors[i].r, colors[i].g, colors[i].b);
    }
    format_.bytesPerPixel = surface->format->BytesPerPixel;
    format_.channelMasks = {surface->format->Rmask, surface->format->Gmask, surface->format->Bmask};
    lutFormat_ = surface->format->format;
    lutColors_ = colors;
  }
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  rects_.clear();
  const auto draw = [&](const Band& band) {
    scaler_->Convert(shown_.Pixels().data(), band, format_, static_cast<uint8_t*>(surface->pixels),
                     surface->pitch);
    const Placement r = scaler_->ScreenRect(band);
    rects_.push_back({r.x, r.y, r.width, r.height});
  };
  if (fresh) {
    draw({0, 0, shown_.Width(), shown_.Height()});
    rects_.assign(1, {0, 0, surface->w, surface->h});
  } else {
    for (const Band& band : bands) draw(band);
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  SDL_UpdateWindowSurfaceRects(window_, rects_.data(), static_cast<int>(rects_.size()));
  ++picturesShown_;
}

void SdlScreen::Present(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                        const Palette& palette, const std::vector<uint8_t>* changedRows) {
  if (!window_) {     // the display mode was restored: nothing to show on
    shown_.Forget();  // rows changed now are not told again
    return;
  }
  if (width != kScreenWidth || height != kScreenHeight ||
      pixels.size() != static_cast<size_t>(kScreenWidth) * kScreenHeight) {
    throw PlatformError("flip of a " + std::to_string(width) + " x " + std::to_string(height) +
                        " frame on a 640 x 480 screen");
  }
  // A frame equal to the one shown is not sent again; a new window surface
  // (a new size) still gets the whole picture.
  const std::vector<Band>& bands = shown_.Update(pixels, width, height, palette, changedRows);
  if (!bands.empty() || SDL_GetWindowSurface(window_) != surface_) Show(bands);
  if (fullscreenPending_) {
    fullscreenPending_ = false;
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  PlaceWhenFramed();
}

void SdlScreen::UpdateRefreshPeriod() {
  SDL_DisplayMode mode{};
  int hz = kDefaultRefreshHz;
  if (SDL_GetCurrentDisplayMode(DisplayOf(window_), &mode) == 0 && mode.refresh_rate > 0) {
    hz = mode.refresh_rate;
  }
  refreshPeriod_ = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(1.0 / hz));
}

}  // namespace media
