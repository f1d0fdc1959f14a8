// The real machine through SDL: the system (clock, window messages), the
// root object and the display.
#include "media/sdl/system.h"

#include <SDL.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "media/display_common.h"
#include "media/messages.h"
#include "media/pass_pacer.h"
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

#ifdef __EMSCRIPTEN__
// The page around the game (web/page.js) follows its language and whether a round is on.
EM_JS(void, rapiko_page_follow, (const char* language, int roundOn), {
  if (Module["rapikoFollow"]) Module["rapikoFollow"](UTF8ToString(language), roundOn != 0);
});
#endif

// Where the display does not tell its refresh rate: 60 Hz.
constexpr auto kDefaultPeriod = std::chrono::microseconds(16667);

// The options screen's changes: kept in the shared options, so that what
// is made next (a sound device, a key read) follows them; the window at once.
class SdlControls : public Controls {
 public:
  explicit SdlControls(SdlContextPtr context) : context_(std::move(context)) {}
  void SetSound(bool on) override { context_->SetMute(!on); }
  bool SoundMissing() override { return !context_->Options().mute && context_->SoundMissing(); }
  void SetKeysByPosition(bool byPosition) override {
    context_->SetKeyReading(byPosition ? KeyReading::Position : KeyReading::Character);
  }
  void SetDisplay(bool fullscreen, int32_t scale) override {
    if (auto screen = context_->Screen()) screen->SetDisplay(fullscreen, scale);
  }
  void DropKeysFor(uint32_t ms) override { context_->DropKeysFor(ms); }
  int32_t LargestWindowScale() override {
    auto screen = context_->Screen();
    return screen ? screen->LargestScale() : 1;
  }
  // A desktop window's caption speaks the game's language; the page is told what changed.
  void FollowGame(std::string_view languageCode, [[maybe_unused]] bool roundOn) override {
#ifdef __EMSCRIPTEN__
    if (languageCode == followedLanguage_ && roundOn == followedRound_) return;
    followedLanguage_ = languageCode;
    followedRound_ = roundOn;
    rapiko_page_follow(followedLanguage_.c_str(), roundOn ? 1 : 0);
#else
    auto screen = context_->Screen();
    if (!screen || languageCode == followedLanguage_) return;
    followedLanguage_ = languageCode;
    const Language language = LanguageOfLocale(languageCode).value_or(Language::kEnglish);
    screen->SetTitle(
        std::string(Translate(language, Msg("Rapiko - Space: play, Tab: statistics, O: options"))));
#endif
  }

 private:
  SdlContextPtr context_;
  std::string followedLanguage_;  // what the page was last told
  bool followedRound_ = false;
};

class SdlSystem : public System {
 public:
  explicit SdlSystem(SdlContextPtr context) : context_(std::move(context)), controls_(context_) {}
  Controls* GetControls() override { return &controls_; }

  std::shared_ptr<Root> CreateRoot() override { return std::make_shared<SdlRoot>(context_); }
  uint32_t GetTickCount() override { return SDL_GetTicks(); }
  // Asleep until the time has come or the display sends something, which
  // the caller's message step then reads.
  void Wait(uint32_t ms) override {
    SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<uint32_t>(ms, INT32_MAX)));
    context_->NotePumped();
  }

  // Each pass begins when its refresh period has come, or at once when a key
  // goes down before that: the pass reads the key, draws and presents
  // straight away, and the game answers a key within a millisecond or two
  // rather than at the next period. Some keys the game answers in the pass
  // after the one that reads them (Tab and Space on the title change the
  // screen there): when a key's pass showed nothing new, the next pass
  // begins at once too.
  bool BeginPass() override {
    auto screen = context_->Screen();
    pacer_.SetPeriod(screen ? screen->RefreshPeriod() : kDefaultPeriod);
    const uint64_t shown = screen ? screen->PicturesShown() : 0;
    const bool answerNow = keyPass_ && shown == shownBefore_;
    keyPass_ = !answerNow && WaitForPass();
    shownBefore_ = shown;
    pacer_.Begin(std::chrono::steady_clock::now());
    return true;
  }

  void DispatchMessages(WindowEvents& events) override {
    // What came while the pass waited first, in the order it came.
    for (const SDL_Event& e : held_) Dispatch(e, events);
    held_.clear();
    // The display was asked at the start of the pass; again only if that
    // was a while ago (a replay shows frames without waiting here).
    context_->Pump();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
      Dispatch(e, events);
    }
    context_->RunPassWork();
  }

 private:
  // Waits until the next pass is due or a key goes down; true for the key.
  bool WaitForPass() {
    const auto due = pacer_.Due();
    for (;;) {
      // Keys pressed meanwhile go to the keyboard's queue as they come.
      if (context_->PumpKeys() > 0) return true;
      const auto left = due - std::chrono::steady_clock::now();
      if (left <= left.zero()) return false;
      // Asleep until the display sends something or the time comes (SDL
      // waits in whole milliseconds: the pass begins up to one late, and
      // the next is still due on time). The other messages wait for the
      // message step, out of SDL's queue so that they do not end the wait
      // again.
      SDL_Event e;
      while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_KEYDOWN - 1) == 1 ||
             SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_TEXTINPUT + 1, SDL_LASTEVENT) == 1) {
        held_.push_back(e);
      }
      const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
      SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
      context_->NotePumped();  // SDL asked the display
    }
  }

  void Dispatch(const SDL_Event& e, WindowEvents& events) {
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

  SdlContextPtr context_;
  SdlControls controls_;
  SdlFocus focus_;
  PassPacer pacer_{kDefaultPeriod};
  bool keyPass_ = false;         // the last pass began for a key press
  uint64_t shownBefore_ = 0;     // pictures the screen had shown when it began
  std::vector<SDL_Event> held_;  // messages that came while a pass waited
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
  // The pointer's moves mean nothing to the game; queued, each would wake a
  // pass waiting for its time.
  SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
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
