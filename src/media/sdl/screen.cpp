// The window (or full screen) that shows the flipped 8-bit frame.
#include "media/sdl/screen.h"

#include <string>

#include "media/platform.h"
#include "media/sdl/icon.h"

namespace media {
namespace {

constexpr int32_t kMaxScale = 8;
// Every flip lasts at least one 60 Hz refresh period, so the loop never
// spins a core, with or without vertical sync.
constexpr double kRefreshMs = 16.0;

[[noreturn]] void Fail(const std::string& what) {
  throw PlatformError(what + ": " + SDL_GetError());
}

// The first display's desktop area (the window's display once it exists).
SDL_Rect DesktopBounds(SDL_Window* window = nullptr) {
  const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  SDL_Rect bounds{0, 0, kScreenWidth, kScreenHeight};
  if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) != 0)
    return {0, 0, kScreenWidth, kScreenHeight};
  return bounds;
}

// Whether the renderer draws through an OpenGL that runs on the processor
// (Mesa's llvmpipe or softpipe, or another software rasteriser).
bool OnSoftwareOpenGl(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) return false;
  if (std::string(info.name).rfind("opengl", 0) != 0) return false;
  using GetString = const unsigned char* (*)(unsigned int);
  auto glGetString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (!glGetString) return false;
  constexpr unsigned int kGlRenderer = 0x1F01;
  const unsigned char* name = glGetString(kGlRenderer);
  if (!name) return false;
  const std::string text(reinterpret_cast<const char*>(name));
  for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
    if (text.find(soft) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

SdlScreen::SdlScreen(SdlContextPtr context)
    : context_(std::move(context)),
      options_(context_->Options()),
      argb_(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0xFF000000u) {}

SdlScreen::~SdlScreen() { Close(); }

void SdlScreen::Open() {
  if (window_) return;
  if (options_.window && (options_.scale < 1 || options_.scale > kMaxScale)) {
    throw PlatformError("window scale " + std::to_string(options_.scale) +
                        " is not between 1 and " + std::to_string(kMaxScale));
  }
  // Crisp pixels: the 640 x 480 picture is scaled by nearest neighbour.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  fullscreen_ = !options_.window;
  if (fullscreen_) {
    // Made as large as the desktop from the start, so that it covers the
    // screen even where no window manager honours the full-screen request.
    const SDL_Rect desktop = DesktopBounds();
    window_ = SDL_CreateWindow("Rapiko", desktop.x, desktop.y, desktop.w, desktop.h,
                               SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    window_ = SDL_CreateWindow("Rapiko", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth * options_.scale, kScreenHeight * options_.scale, 0);
  }
  if (!window_) Fail("cannot open the window");
  SetWindowIcon(window_, context_->Resource("ICON"));

  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ && OnSoftwareOpenGl(renderer_)) {
    // A GL rasterised on the processor (as under Xvfb) costs several times
    // what SDL's own software renderer does for one 640 x 480 picture.
    SDL_DestroyRenderer(renderer_);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!renderer_) {
    std::string error = SDL_GetError();
    Close();
    throw PlatformError("cannot draw in the window: " + error);
  }
  CreateTexture();
  UpdateScaling();
  SDL_ShowCursor(fullscreen_ ? SDL_DISABLE : SDL_ENABLE);
}

void SdlScreen::Close() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_DestroyWindow(window_);
    SDL_ShowCursor(SDL_ENABLE);
  }
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
}

void SdlScreen::CreateTexture() {
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               kScreenWidth, kScreenHeight);
  if (!texture_) Fail("cannot make the screen texture");
}

void SdlScreen::UpdateScaling() {
  if (!renderer_) return;
  SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
  // Whole multiples keep every pixel the same size; below 2x a whole
  // multiple would leave the picture at 1x, so fill the screen instead.
  int w = 0;
  int h = 0;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  const bool integer = w >= 2 * kScreenWidth && h >= 2 * kScreenHeight;
  SDL_RenderSetIntegerScale(renderer_, integer ? SDL_TRUE : SDL_FALSE);
}

void SdlScreen::ToggleFullscreen() {
  if (!window_) return;
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
    const int32_t scale = options_.window ? options_.scale : 1;
    SDL_SetWindowSize(window_, kScreenWidth * scale, kScreenHeight * scale);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  SDL_ShowCursor(fullscreen_ ? SDL_DISABLE : SDL_ENABLE);
  UpdateScaling();
  if (haveFrame_) Show();
}

void SdlScreen::OnWindowEvent(const SDL_WindowEvent& event) {
  if (!window_ || event.windowID != SDL_GetWindowID(window_)) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      UpdateScaling();
      [[fallthrough]];
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // Never leave the window black until the next flip.
      if (haveFrame_) Show();
      break;
    default:
      break;
  }
}

void SdlScreen::OnRenderReset() {
  if (!renderer_) return;
  CreateTexture();
  UpdateScaling();
  if (haveFrame_) Show();
}

bool SdlScreen::Show() {
  if (SDL_UpdateTexture(texture_, nullptr, argb_.data(), kScreenWidth * 4) != 0) return false;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  return true;
}

void SdlScreen::Present(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                        const Palette& palette) {
  if (!renderer_) return;  // the display mode was restored: nothing to show on
  if (width != kScreenWidth || height != kScreenHeight ||
      pixels.size() != static_cast<size_t>(kScreenWidth) * kScreenHeight) {
    throw PlatformError("flip of a " + std::to_string(width) + " x " + std::to_string(height) +
                        " frame on a 640 x 480 screen");
  }
  uint32_t lut[256];
  for (size_t i = 0; i < 256; ++i) {
    const Color& c = palette.Colors()[i];
    lut[i] =
        0xFF000000u | (static_cast<uint32_t>(c.r) << 16) | (static_cast<uint32_t>(c.g) << 8) | c.b;
  }
  for (size_t i = 0; i < pixels.size(); ++i) argb_[i] = lut[pixels[i]];
  haveFrame_ = true;
  if (!Show()) {
    // A texture lost with its device: make it again once, then give up.
    CreateTexture();
    if (!Show()) Fail("cannot show the frame");
  }
  PaceFrame();
}

void SdlScreen::PaceFrame() {
  // Whether or not the renderer reports vertical sync, a present can return
  // at once (no sync offered, a hidden window, a compositor that ignores
  // it), so rather than trust the renderer's flags every flip is held to one
  // refresh period. With real 60 Hz sync the wait is already over.
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  uint64_t now = SDL_GetPerformanceCounter();
  if (lastFlip_ != 0 && now > lastFlip_) {
    const double ms =
        static_cast<double>(now - lastFlip_) * 1000.0 / static_cast<double>(frequency);
    if (ms < kRefreshMs - 1.0) {
      SDL_Delay(static_cast<Uint32>(kRefreshMs - ms));
      now = SDL_GetPerformanceCounter();
    }
  }
  lastFlip_ = now;
}

}  // namespace media
