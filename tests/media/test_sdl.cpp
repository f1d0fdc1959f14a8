// Tests of the SDL backend on SDL's dummy video and audio drivers: start-up,
// window and presenting, sound channels, key events, messages and PNG files.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "media/backend_test_files.h"
#include "media/headless.h"
#include "media/sdl_context.h"
#include "media/sdl_screen.h"
#include "media/sdl_system.h"

namespace media {
namespace {

using backend_test::MakeBmp;
using backend_test::MakeWav;
using backend_test::TempDir;

void UseDummyDrivers() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// Sounds long enough to be still playing whenever the test looks.
backend_test::Resources TestResources() {
  backend_test::Resources r;
  r.files["ABC"] =
      MakeBmp(348, 262, [](int32_t x, int32_t y) { return static_cast<uint8_t>((x + y) % 256); });
  for (const char* name :
       {"WAVKYAN", "WAVSHOT", "WAVHIT", "WAVFUEEN", "WAVSTART", "WAVEND", "WAVTYPE"}) {
    r.files[name] = MakeWav(22050, 8, 22050 * 30);
  }
  return r;
}

struct Events : WindowEvents {
  int mouseDowns = 0;
  int closeRequests = 0;
  void OnMouseDown() override { ++mouseDowns; }
  void OnCloseRequest() override { ++closeRequests; }
};

void PushKey(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat;
  e.key.keysym.scancode = scancode;
  e.key.keysym.mod = mod;
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void PushEvent(Uint32 type) {
  SDL_Event e{};
  e.type = type;
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

class SdlBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDummyDrivers();
    SdlOptions options;
    options.window = true;
    options.resources = resources.Lookup();
    system = CreateSdlSystem(options);
    root = system->CreateRoot();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    root.reset();
    system.reset();
  }

  backend_test::Resources resources = TestResources();
  std::unique_ptr<System> system;
  std::shared_ptr<Root> root;
};

TEST_F(SdlBackend, StartUpFlipsAndShutsDown) {
  TempDir dir("rapiko-sdl");
  const std::string back = dir.Write("back.bmp", MakeBmp(640, 480, [](int32_t x, int32_t) {
                                       return static_cast<uint8_t>(x % 256);
                                     }));
  auto display = root->CreateDisplay();
  display->SetCooperativeLevel(CooperativeLevel::FullscreenExclusive);
  display->SetDisplayMode(640, 480, 8);
  auto primary = display->CreatePrimarySurface(1);
  auto backBuffer = primary->GetAttachedSurface();
  auto palette = display->LoadPaletteFromFile(back);
  primary->SetPalette(palette);
  auto background = display->CreateSurfaceFromFile(back, 640, 480);
  auto sprite = display->CreateSurfaceFromResource("ABC", 346, 262);
  sprite->SetColorKey(128);
  EXPECT_EQ(dynamic_cast<SoftSurface&>(*sprite).Width(), 346);

  for (int frame = 0; frame < 3; ++frame) {
    EXPECT_TRUE(backBuffer->FastBlit(0, 0, *background, Rect{}, BlitFlags::Wait));
    backBuffer->FastBlit(10, 10, *sprite, Rect{0, 0, 49, 37}, BlitFlags::KeySrcWait);
    primary->Flip();
    Events events;
    system->DispatchMessages(events);
  }
  EXPECT_THROW(display->CreateSurfaceFromFile(dir.File("none.bmp"), 640, 480), PlatformError);

  display->RestoreDisplayMode();
  display->SetCooperativeLevel(CooperativeLevel::Normal);
  primary->Flip();  // after the mode is restored there is nothing to show on
  palette.reset();
  backBuffer.reset();
  primary.reset();
  display.reset();
  // The background and sheet go last, after the display, as in the game.
  background.reset();
  sprite.reset();
}

TEST_F(SdlBackend, SoundBuffersPlayOnTheirOwnChannels) {
  auto device = root->CreateSoundDevice();
  device->SetCooperativeLevel(SoundLevel::Priority);
  auto kyan = device->CreateSoundBufferFromResource("WAVKYAN");
  auto shot = device->CreateSoundBufferFromResource("WAVSHOT");
  auto hit = device->CreateSoundBufferFromResource("WAVHIT");
  EXPECT_EQ(Mix_Playing(-1), 0);

  hit->SetCurrentPosition(0);  // stopped: stays stopped
  EXPECT_EQ(Mix_Playing(-1), 0);
  kyan->Play();
  EXPECT_EQ(Mix_Playing(-1), 1);
  kyan->Play();  // goes on: still one channel
  kyan->SetCurrentPosition(0);
  EXPECT_EQ(Mix_Playing(-1), 1);
  shot->Play();
  EXPECT_EQ(Mix_Playing(-1), 2);
  EXPECT_THROW(shot->SetCurrentPosition(1), PlatformError);

  kyan.reset();  // its channel stops with it
  EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST_F(SdlBackend, TheProgramsOwnSoundsLoad) {
  SdlOptions options;
  options.window = true;  // FindResource: the program's embedded files
  auto system2 = CreateSdlSystem(options);
  auto device = system2->CreateRoot()->CreateSoundDevice();
  std::vector<std::shared_ptr<SoundBuffer>> buffers;
  for (const char* name :
       {"WAVKYAN", "WAVSHOT", "WAVHIT", "WAVFUEEN", "WAVSTART", "WAVEND", "WAVTYPE"}) {
    EXPECT_NO_THROW(buffers.push_back(device->CreateSoundBufferFromResource(name))) << name;
  }
  ASSERT_EQ(buffers.size(), 7u);
  buffers[3]->Play();  // the longest, 2.2 s
  EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST_F(SdlBackend, DamagedOrMissingSoundFails) {
  auto device = root->CreateSoundDevice();
  resources.files["WAVHIT"] = {'R', 'I', 'F', 'F', 0, 0};
  try {
    device->CreateSoundBufferFromResource("WAVHIT");
    ADD_FAILURE() << "no error";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("WAVHIT: ", 0), 0u) << e.what();
  }
  EXPECT_THROW(device->CreateSoundBufferFromResource("WAVNONE"), PlatformError);
}

TEST_F(SdlBackend, KeyEventsInOrderAsSet1CodesAndMouseLeftForMessages) {
  auto keyboard = root->CreateInput()->CreateKeyboardDevice();
  std::vector<KeyEvent> events(8);
  EXPECT_THROW(keyboard->GetDeviceData(events), PlatformError);

  // Keys before Acquire are not seen.
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_Q);
  Events messages;
  system->DispatchMessages(messages);
  keyboard->Acquire();
  EXPECT_EQ(keyboard->GetDeviceData(events), 0);

  const uint32_t before = system->GetTickCount();
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_A, KMOD_NONE, 1);  // held: no event
  PushEvent(SDL_MOUSEBUTTONDOWN);
  PushKey(SDL_KEYUP, SDL_SCANCODE_A);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_MUTE);  // no set-1 code
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER);
  KeyEvent marker;
  marker.keyCode = 99;
  std::fill(events.begin(), events.end(), marker);
  ASSERT_EQ(keyboard->GetDeviceData(events), 3);
  EXPECT_EQ(events[0].keyCode, 30);
  EXPECT_EQ(events[0].data, 128);
  EXPECT_EQ(events[1].keyCode, 30);
  EXPECT_EQ(events[1].data, 0);
  EXPECT_EQ(events[2].keyCode, 156);
  EXPECT_EQ(events[2].data, 128);
  EXPECT_EQ(events[3].keyCode, 99);  // later slots as passed
  EXPECT_LT(events[0].sequence, events[1].sequence);
  EXPECT_LT(events[1].sequence, events[2].sequence);
  EXPECT_GE(static_cast<uint32_t>(events[0].timeStamp), before);
  EXPECT_LE(static_cast<uint32_t>(events[2].timeStamp), system->GetTickCount());

  // The click was left for the message step.
  EXPECT_EQ(messages.mouseDowns, 0);
  system->DispatchMessages(messages);
  EXPECT_EQ(messages.mouseDowns, 1);

  // Keys that arrive in the message step wait for the next read.
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
  system->DispatchMessages(messages);
  ASSERT_EQ(keyboard->GetDeviceData(events), 1);
  EXPECT_EQ(events[0].keyCode, 57);

  keyboard->Unacquire();
  EXPECT_THROW(keyboard->GetDeviceData(events), PlatformError);
}

TEST_F(SdlBackend, At64UnreadKeysNewerOnesAreDropped) {
  auto keyboard = root->CreateInput()->CreateKeyboardDevice();
  keyboard->Acquire();
  for (int i = 0; i < 35; ++i) {
    PushKey(SDL_KEYDOWN, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i % 26));
    PushKey(SDL_KEYUP, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i % 26));
  }
  std::vector<KeyEvent> events(100);
  ASSERT_EQ(keyboard->GetDeviceData(events), 64);
  EXPECT_EQ(events[0].keyCode, 30);  // A
  // The 32nd press and release (A..Z, then A..F) are the last ones kept.
  EXPECT_EQ(events[62].keyCode, 33);
  EXPECT_EQ(events[62].data, 128);
  EXPECT_EQ(events[63].keyCode, 33);
  EXPECT_EQ(events[63].data, 0);
  EXPECT_EQ(keyboard->GetDeviceData(events), 0);
}

TEST_F(SdlBackend, QuitAndWindowCloseAreCloseRequests) {
  Events messages;
  PushEvent(SDL_QUIT);
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&close);
  system->DispatchMessages(messages);
  EXPECT_EQ(messages.closeRequests, 2);
  EXPECT_EQ(messages.mouseDowns, 0);
  EXPECT_EQ(system->BeginPass(), true);
}

TEST(SdlStart, NoDisplayIsOneClearLine) {
  UseDummyDrivers();
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  try {
    CreateSdlSystem(SdlOptions{});
    ADD_FAILURE() << "no error";
  } catch (const PlatformError& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("no display: ", 0), 0u) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos);
  }
  UseDummyDrivers();
}

TEST(SdlStart, NoSoundDeviceSaysHowToRunWithout) {
  UseDummyDrivers();
  auto system = CreateSdlSystem(SdlOptions{});
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  try {
    system->CreateRoot()->CreateSoundDevice();
    ADD_FAILURE() << "no error";
  } catch (const PlatformError& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("no sound device: ", 0), 0u) << message;
    EXPECT_NE(message.find("SDL_AUDIODRIVER=dummy"), std::string::npos) << message;
  }
  UseDummyDrivers();
}

// The screen itself, made directly to look at its window and renderer.
class SdlScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDummyDrivers();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
  }
  std::shared_ptr<SdlScreen> MakeScreen(bool window, int32_t scale) {
    SdlOptions options;
    options.window = window;
    options.scale = scale;
    // The context quits the video subsystem that SetUp started.
    return std::make_shared<SdlScreen>(std::make_shared<SdlContext>(options, resources.Lookup()));
  }
  backend_test::Resources resources;
};

TEST_F(SdlScreenTest, WindowOfTheScaleWithCrispWholeMultiples) {
  auto screen = MakeScreen(true, 2);
  screen->Open();
  ASSERT_NE(screen->Window(), nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(screen->Window()), "Rapiko");
  int w = 0, h = 0;
  SDL_GetWindowSize(screen->Window(), &w, &h);
  EXPECT_EQ(w, 1280);
  EXPECT_EQ(h, 960);
  EXPECT_FALSE(screen->IsFullscreen());
  SDL_Renderer* renderer = SDL_GetRenderer(screen->Window());
  ASSERT_NE(renderer, nullptr);
  SDL_RenderGetLogicalSize(renderer, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_TRUE(SDL_RenderGetIntegerScale(renderer));
  EXPECT_STREQ(SDL_GetHint(SDL_HINT_RENDER_SCALE_QUALITY), "0");

  screen->Close();
  EXPECT_EQ(screen->Window(), nullptr);
  std::vector<uint8_t> frame(640 * 480, 1);
  EXPECT_NO_THROW(screen->Present(frame, 640, 480, Palette{}));  // nothing to show on
}

TEST_F(SdlScreenTest, SmallerThanTwiceIsNotHeldToWholeMultiples) {
  auto screen = MakeScreen(true, 1);
  screen->Open();
  ASSERT_NE(screen->Window(), nullptr);
  EXPECT_FALSE(SDL_RenderGetIntegerScale(SDL_GetRenderer(screen->Window())));
}

// The colour the renderer shows at (x, y) of a 640 x 480 window.
Color ShownAt(SDL_Window* window, int x, int y) {
  SDL_Rect rect{x, y, 1, 1};
  uint8_t rgb[4] = {};
  EXPECT_EQ(SDL_RenderReadPixels(SDL_GetRenderer(window), &rect, SDL_PIXELFORMAT_RGB24, rgb, 4), 0)
      << SDL_GetError();
  return {rgb[0], rgb[1], rgb[2]};
}

TEST_F(SdlScreenTest, ShowsTheFrameThroughItsPaletteAndRedrawsWhenExposed) {
  auto screen = MakeScreen(true, 1);
  screen->Open();
  ASSERT_NE(screen->Window(), nullptr);
  std::array<Color, 256> colors{};
  for (int i = 0; i < 256; ++i) colors[static_cast<size_t>(i)] = backend_test::TestColor(i);
  std::vector<uint8_t> frame(640 * 480, 3);
  frame[0] = 200;
  frame[479 * 640 + 639] = 128;
  screen->Present(frame, 640, 480, Palette(colors));
  EXPECT_EQ(ShownAt(screen->Window(), 0, 0), backend_test::TestColor(200));
  EXPECT_EQ(ShownAt(screen->Window(), 1, 0), backend_test::TestColor(3));
  EXPECT_EQ(ShownAt(screen->Window(), 639, 479), (Color{0, 0, 255}));

  // Something else painted over the window; exposure shows the frame again.
  SDL_Renderer* renderer = SDL_GetRenderer(screen->Window());
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  ASSERT_EQ(ShownAt(screen->Window(), 0, 0), (Color{0, 0, 0}));
  SDL_WindowEvent exposed{};
  exposed.type = SDL_WINDOWEVENT;
  exposed.event = SDL_WINDOWEVENT_EXPOSED;
  exposed.windowID = SDL_GetWindowID(screen->Window());
  screen->OnWindowEvent(exposed);
  EXPECT_EQ(ShownAt(screen->Window(), 0, 0), backend_test::TestColor(200));

  EXPECT_THROW(screen->Present(std::vector<uint8_t>(10), 640, 480, Palette(colors)), PlatformError);
}

TEST_F(SdlScreenTest, AltEnterTogglesFullScreenAndBack) {
  auto context = std::make_shared<SdlContext>(SdlOptions{true, 2, {}}, resources.Lookup());
  auto screen = std::make_shared<SdlScreen>(context);
  context->SetScreen(screen);
  context->SetCollectingKeys(true);
  screen->Open();

  SDL_Event e{};
  e.key.type = SDL_KEYDOWN;
  e.key.keysym.scancode = SDL_SCANCODE_RETURN;
  e.key.keysym.mod = KMOD_LALT;
  context->OnKeyEvent(e.key);
  EXPECT_TRUE(screen->IsFullscreen());
  e.key.type = SDL_KEYUP;
  context->OnKeyEvent(e.key);
  EXPECT_TRUE(context->Keys().empty());  // neither the press nor its release reach the game

  e.key.type = SDL_KEYDOWN;
  context->OnKeyEvent(e.key);
  EXPECT_FALSE(screen->IsFullscreen());
  int w = 0, h = 0;
  SDL_GetWindowSize(screen->Window(), &w, &h);
  EXPECT_EQ(w, 1280);
  EXPECT_EQ(h, 960);

  // Enter alone is the game's.
  e.key.keysym.mod = KMOD_NONE;
  context->OnKeyEvent(e.key);
  ASSERT_EQ(context->Keys().size(), 1u);
  EXPECT_EQ(context->Keys().front().keyCode, 28);
}

TEST_F(SdlScreenTest, FullScreenByDefaultWithoutACursor) {
  auto screen = MakeScreen(false, 1);
  screen->Open();
  ASSERT_NE(screen->Window(), nullptr);
  EXPECT_TRUE(screen->IsFullscreen());
  EXPECT_TRUE(SDL_GetWindowFlags(screen->Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  screen->Close();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(SdlPng, WritesAReadablePngOfTheFrame) {
  UseDummyDrivers();
  TempDir dir("rapiko-png");
  std::array<Color, 256> colors{};
  for (int i = 0; i < 256; ++i) colors[static_cast<size_t>(i)] = backend_test::TestColor(i);
  std::vector<uint8_t> pixels(640 * 480);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i % 251);
  const std::string path = dir.File("shot.png");
  WritePng(path, pixels, 640, 480, Palette(colors));

  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_GE(bytes.size(), signature.size());
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), bytes.begin()));

  SDL_Surface* loaded = IMG_Load(path.c_str());
  ASSERT_NE(loaded, nullptr) << IMG_GetError();
  EXPECT_EQ(loaded->w, 640);
  EXPECT_EQ(loaded->h, 480);
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  ASSERT_NE(rgb, nullptr);
  for (int32_t y : {0, 1, 479}) {
    for (int32_t x : {0, 7, 639}) {
      const uint8_t* p = static_cast<uint8_t*>(rgb->pixels) + y * rgb->pitch + x * 3;
      const Color want = backend_test::TestColor(pixels[static_cast<size_t>(y) * 640 + x]);
      EXPECT_EQ((Color{p[0], p[1], p[2]}), want) << x << "," << y;
    }
  }
  SDL_FreeSurface(rgb);
  SDL_FreeSurface(loaded);
}

TEST(SdlPng, FailureNamesThePath) {
  TempDir dir("rapiko-png-fail");
  const std::string path = dir.File("no-such-folder/shot.png");
  std::vector<uint8_t> pixels(4 * 3);
  try {
    WritePng(path, pixels, 4, 3, Palette{});
    ADD_FAILURE() << "no error";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(path + ": ", 0), 0u) << e.what();
  }
  EXPECT_THROW(WritePng(dir.File("short.png"), pixels, 5, 3, Palette{}), PlatformError);
}

}  // namespace
}  // namespace media
