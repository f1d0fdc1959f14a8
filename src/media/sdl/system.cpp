// The real machine through SDL: the system (clock, window messages), the
// root object and the display.
#include "media/sdl/system.h"

#include <SDL.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <string>

#include "media/display_common.h"
#include "media/resources.h"
#include "media/sdl/context.h"
#include "media/sdl/focus.h"
#include "media/sdl/quiet.h"
#include "media/sdl/screen.h"

namespace media {
namespace {

class SdlDisplay : public Display {
 public:
  explicit SdlDisplay(SdlContextPtr context)
      : context_(std::move(context)), screen_(std::make_shared<SdlScreen>(context_)) {
    context_->SetScreen(screen_);
    // Each surface keeps the screen, its flips' presenter, alive.
    make_ = [screen = screen_](int32_t w, int32_t h, const std::string& label) {
      return std::shared_ptr<SoftSurface>(new SoftSurface(w, h, label),
                                          [screen](SoftSurface* s) { delete s; });
    };
  }

  void SetCooperativeLevel(CooperativeLevel) override {}
  void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) override {
    CheckDisplayMode(width, height, bitsPerPixel);
    QuietStderr quiet;  // graphics drivers' chatter; a failure is reported in one line
    screen_->Open();
  }
  void RestoreDisplayMode() override { screen_->Close(); }

  std::shared_ptr<Surface> CreatePrimarySurface(int32_t backBufferCount) override {
    return MakeFlipChain(backBufferCount, screen_.get(), make_).primary;
  }
  std::shared_ptr<Surface> CreateSurfaceFromFile(const std::string& path, int32_t width,
                                                 int32_t height) override {
    return LoadBackgroundFromFile(path, width, height, make_);
  }
  std::shared_ptr<Surface> CreateSurfaceFromResource(const std::string& name, int32_t width,
                                                     int32_t height) override {
    return LoadSheetFromResource(name, context_->Resource(name), width, height, make_);
  }
  std::shared_ptr<Palette> LoadPaletteFromFile(const std::string& path) override {
    return LoadPaletteFromBmpFile(path);
  }

 private:
  SdlContextPtr context_;
  std::shared_ptr<SdlScreen> screen_;
  SurfaceMaker make_;
};

class SdlRoot : public Root {
 public:
  explicit SdlRoot(SdlContextPtr context) : context_(std::move(context)) {}
  std::shared_ptr<Display> CreateDisplay() override { return MakeSdlDisplay(context_); }
  std::shared_ptr<SoundDevice> CreateSoundDevice() override { return MakeSdlSoundDevice(context_); }
  std::shared_ptr<Input> CreateInput() override { return MakeSdlInput(context_); }

 private:
  SdlContextPtr context_;
};

class SdlSystem : public System {
 public:
  explicit SdlSystem(SdlContextPtr context) : context_(std::move(context)) {}

  std::shared_ptr<Root> CreateRoot() override { return std::make_shared<SdlRoot>(context_); }
  uint32_t GetTickCount() override { return SDL_GetTicks(); }
  bool BeginPass() override { return true; }

  void DispatchMessages(WindowEvents& events) override {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      switch (e.type) {
        case SDL_MOUSEBUTTONDOWN: {
          auto screen = context_->Screen();
          const bool fullscreen = !screen || screen->IsFullscreen();
          if (focus_.ClickCounts(e.button, screen ? screen->Window() : nullptr, fullscreen)) {
            events.OnMouseDown();
          }
          break;
        }
        case SDL_QUIT:
          events.OnCloseRequest();
          break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
          context_->OnKeyEvent(e.key);
          break;
        case SDL_WINDOWEVENT:
          if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
            events.OnCloseRequest();
            break;
          }
          focus_.OnWindowEvent(e.window, events);
          if (auto screen = context_->Screen()) screen->OnWindowEvent(e.window);
          break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
          if (auto screen = context_->Screen()) screen->OnRenderReset();
          break;
        default:
          break;
      }
    }
    context_->NotePumped();
    context_->RunPassWork();
  }

 private:
  SdlContextPtr context_;
  SdlFocus focus_;
};

}  // namespace

std::shared_ptr<Display> MakeSdlDisplay(SdlContextPtr context) {
  return std::make_shared<SdlDisplay>(std::move(context));
}

std::unique_ptr<System> CreateSdlSystem(const SdlOptions& options) {
#ifdef __EMSCRIPTEN__
  // The web build run by Node has no page to draw in.
  if (EM_ASM_INT({ return typeof document == "undefined"; })) {
    throw PlatformError("no display: Node has no window; play in the web page, or run --headless");
  }
#endif
  int started = 0;
  {
    QuietStderr quiet;  // the window systems that SDL tries and finds absent say so
    started = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }
  if (started != 0) throw PlatformError(std::string("no display: ") + SDL_GetError());
  // With no window system SDL falls back to drivers that show nothing; only
  // take those when asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const std::string name = driver ? driver : "";
  if ((name == "offscreen" || name == "dummy") && !SDL_getenv("SDL_VIDEODRIVER")) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    throw PlatformError("no display: no window system found (is DISPLAY or WAYLAND_DISPLAY set?)");
  }
  // Read by the character they type, keys need the text that each one typed.
  if (options.keys == KeyReading::Character) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
  }
  ResourceLookup resources = options.resources;
  if (!resources) resources = FindResource;
  auto context = std::make_shared<SdlContext>(options, std::move(resources));
  return std::make_unique<SdlSystem>(std::move(context));
}

}  // namespace media
