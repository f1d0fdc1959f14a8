// Tests of the SDL backend on the dummy drivers: window, sound, keys, messages and PNG files.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <tuple>

#include "media/headless/headless.h"
#include "media/sdl/context.h"
#include "media/sdl/focus.h"
#include "media/sdl/png.h"
#include "media/sdl/screen.h"
#include "media/sdl/system.h"
#include "support/test_files.h"

namespace media {
namespace {

using test_files::TestColor;

Palette TestPalette() {
  std::array<Color, 256> colors{};
  for (int i = 0; i < 256; ++i) colors[static_cast<size_t>(i)] = TestColor(i);
  return Palette(colors);
}

struct Messages : WindowEvents {
  int mouseDowns = 0, closeRequests = 0, focusLost = 0, focusGained = 0;
  void OnMouseDown() override { ++mouseDowns; }
  void OnCloseRequest() override { ++closeRequests; }
  void OnFocusLost() override { ++focusLost; }
  void OnFocusGained() override { ++focusGained; }
};

void Push(Uint32 type, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN, SDL_Keycode sym = 0,
          Uint8 windowEvent = SDL_WINDOWEVENT_CLOSE) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = sym;
  if (type == SDL_WINDOWEVENT) e.window.event = windowEvent;
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void PushText(const char* text) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, text, sizeof e.text.text);
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

class SdlBackend : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }

  void Start(KeyReading keys = KeyReading::Character, bool mute = false,
             const char* audio = "dummy") {
    root.reset();
    system.reset();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", audio, 1);
    // Thirty seconds: still playing whenever the test looks.
    for (const char* name : {"WAVKYAN", "WAVSHOT"})
      resources.files[name] = test_files::MakeWav(22050, 8, 22050 * 30);
    SdlOptions options;
    options.window = true;
    options.resources = resources.Lookup();
    options.keys = keys;
    options.mute = mute;
    options.notice = [this](const std::string& line) { notices.push_back(line); };
    system = CreateSdlSystem(options);
    root = system->CreateRoot();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  test_files::Resources resources;
  std::vector<std::string> notices;
  std::unique_ptr<System> system;
  std::shared_ptr<Root> root;
};

// The colour of a pixel of the window's own surface.
Color WindowPixel(SDL_Window* window, int x, int y) {
  SDL_Surface* s = SDL_GetWindowSurface(window);
  Uint32 v = 0;
  std::memcpy(&v,
              static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
              s->format->BytesPerPixel);
  Color c;
  SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
  return c;
}

TEST_F(SdlBackend, TheWindowShowsTheFrameThroughItsPaletteAndAResizeKeepsWholeMultiples) {
  SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);  // the context below quits it again
  SdlOptions options;
  options.window = true;
  SdlScreen screen(std::make_shared<SdlContext>(options, resources.Lookup()));
  screen.Open();
  ASSERT_NE(screen.Window(), nullptr);
  std::vector<uint8_t> frame(640 * 480, 3);
  frame[0] = 200;
  screen.Present(frame, 640, 480, TestPalette());
  EXPECT_EQ(WindowPixel(screen.Window(), 0, 0), TestColor(200));
  EXPECT_EQ(WindowPixel(screen.Window(), 1, 0), TestColor(3));

  // 1400 x 1000 holds the picture twice over (1280 x 960), in the middle.
  SDL_SetWindowSize(screen.Window(), 1400, 1000);
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (e.type == SDL_WINDOWEVENT) screen.OnWindowEvent(e.window);
  }
  frame[1] = 200;  // the next frame changes one pixel
  screen.Present(frame, 640, 480, TestPalette());
  const Color black{0, 0, 0};
  for (const auto& [x, y, want] : {std::tuple{59, 20, black},
                                   {60, 19, black},
                                   {60, 20, TestColor(200)},
                                   {61, 21, TestColor(200)},
                                   {63, 21, TestColor(200)},
                                   {64, 20, TestColor(3)},
                                   {1339, 979, TestColor(3)},
                                   {1340, 979, black},
                                   {1339, 980, black}}) {
    EXPECT_EQ(WindowPixel(screen.Window(), x, y), want) << x << "," << y;
  }
}

TEST_F(SdlBackend, SoundBuffersPlayOnTheirOwnChannels) {
  auto device = root->CreateSoundDevice();
  auto kyan = device->CreateSoundBufferFromResource("WAVKYAN");
  auto shot = device->CreateSoundBufferFromResource("WAVSHOT");
  kyan->SetCurrentPosition(0);  // stopped: stays stopped
  EXPECT_EQ(Mix_Playing(-1), 0);
  kyan->Play();
  kyan->Play();
  kyan->SetCurrentPosition(0);
  EXPECT_EQ(Mix_Playing(-1), 1);
  shot->Play();
  EXPECT_EQ(Mix_Playing(-1), 2);
}

TEST_F(SdlBackend, KeysBecomeSet1EventsUpTo64) {
  auto keyboard = root->CreateInput()->CreateKeyboardDevice();
  keyboard->Acquire();
  Push(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER);
  for (int i = 0; i < 40; ++i) {
    Push(SDL_KEYDOWN, SDL_Scancode(SDL_SCANCODE_A + i % 26));
    Push(SDL_KEYUP, SDL_Scancode(SDL_SCANCODE_A + i % 26));
  }
  std::vector<KeyEvent> events(100);
  ASSERT_EQ(keyboard->GetDeviceData(events), 64);
  EXPECT_EQ(events[0].keyCode, 156);
  EXPECT_EQ(events[0].data, 128);
  EXPECT_EQ(events[2].keyCode, 30);  // the release of A
  EXPECT_EQ(events[2].data, 0);
  EXPECT_EQ(events[63].keyCode, 33);  // the press of F, the 32nd letter
  EXPECT_EQ(keyboard->GetDeviceData(events), 0);
}

TEST_F(SdlBackend, WithoutASoundDeviceOrMutedTheBuffersPlaySilently) {
  for (bool mute : {false, true}) {
    notices.clear();
    Start(KeyReading::Character, mute, mute ? "dummy" : "no-such-driver");
    auto device = root->CreateSoundDevice();
    auto kyan = device->CreateSoundBufferFromResource("WAVKYAN");
    kyan->Play();
    kyan->SetCurrentPosition(0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << mute;
    if (mute) {
      EXPECT_TRUE(notices.empty());
    } else {
      ASSERT_EQ(notices.size(), 1u);
      EXPECT_EQ(notices[0].rfind("no sound device (", 0), 0u) << notices[0];
      EXPECT_NE(notices[0].find("); playing without sound"), std::string::npos) << notices[0];
    }
    // A sound missing from the program is still an error.
    EXPECT_THROW(device->CreateSoundBufferFromResource("WAVNONE"), PlatformError);
  }
}

TEST_F(SdlBackend, KeysByCharacterTakeTheirTextAndReleaseAsPressed) {
  auto keyboard = root->CreateInput()->CreateKeyboardDevice();
  keyboard->Acquire();
  // AZERTY: the key in the Q place types a; the - key, pressed and then
  // released with Shift held, still releases as -; a press of the key in
  // the 1 place without text still counts as 1.
  Push(SDL_KEYDOWN, SDL_SCANCODE_Q, 'a');
  PushText("a");
  Push(SDL_KEYUP, SDL_SCANCODE_Q, 'a');
  Push(SDL_KEYDOWN, SDL_SCANCODE_6, '6');
  PushText("-");
  Push(SDL_KEYUP, SDL_SCANCODE_6, '6');
  Push(SDL_KEYDOWN, SDL_SCANCODE_1, '1');
  std::vector<KeyEvent> events(10);
  ASSERT_EQ(keyboard->GetDeviceData(events), 5);
  const std::pair<int32_t, int32_t> expected[] = {{30, 128}, {30, 0}, {12, 128}, {12, 0}, {2, 128}};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(events[i].keyCode, expected[i].first) << i;
    EXPECT_EQ(events[i].data, expected[i].second) << i;
  }
}

TEST_F(SdlBackend, KeysByPositionIgnoreTheLayout) {
  Start(KeyReading::Position);
  auto keyboard = root->CreateInput()->CreateKeyboardDevice();
  keyboard->Acquire();
  Push(SDL_KEYDOWN, SDL_SCANCODE_Q, 'a');
  Push(SDL_KEYUP, SDL_SCANCODE_Q, 'a');
  std::vector<KeyEvent> events(10);
  ASSERT_EQ(keyboard->GetDeviceData(events), 2);
  EXPECT_EQ(events[0].keyCode, 16);
  EXPECT_EQ(events[1].keyCode, 16);
}

TEST(SdlFocusClick, OnlyTheClickThatGivesAWindowItsFocusIsKeptFromTheGame) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("focus", 0, 0, 64, 48, 0);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  auto event = [](Uint8 what, Uint32 at) {
    SDL_WindowEvent e{};
    e.type = SDL_WINDOWEVENT;
    e.event = what;
    e.timestamp = at;
    return e;
  };
  auto click = [](Uint32 at) {
    SDL_MouseButtonEvent e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.timestamp = at;
    return e;
  };
  SdlFocus focus;
  Messages messages;
  // Never focused yet: the click gives the focus.
  EXPECT_FALSE(focus.ClickCounts(click(100), window, false));
  focus.OnWindowEvent(event(SDL_WINDOWEVENT_FOCUS_GAINED, 1000), messages);
  // The window manager passes the focusing click on just after the focus...
  EXPECT_FALSE(focus.ClickCounts(click(1010), window, false));
  // ...and the next click is the player's.
  EXPECT_TRUE(focus.ClickCounts(click(1100), window, false));
  focus.OnWindowEvent(event(SDL_WINDOWEVENT_FOCUS_GAINED, 2000), messages);
  EXPECT_TRUE(focus.ClickCounts(click(2500), window, false));  // long after the focus
  focus.OnWindowEvent(event(SDL_WINDOWEVENT_FOCUS_LOST, 3000), messages);
  EXPECT_FALSE(focus.ClickCounts(click(4000), window, false));
  EXPECT_TRUE(focus.ClickCounts(click(4000), window, true));  // full screen: every click
  focus.OnWindowEvent(event(SDL_WINDOWEVENT_EXPOSED, 5000), messages);
  EXPECT_EQ(messages.focusGained, 2);
  EXPECT_EQ(messages.focusLost, 1);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(SdlBackend, MouseButtonAndCloseRequestReachTheWindowEvents) {
  Push(SDL_MOUSEBUTTONDOWN);
  Push(SDL_QUIT);
  Push(SDL_WINDOWEVENT);
  Messages messages;
  system->DispatchMessages(messages);
  EXPECT_EQ(messages.mouseDowns, 1);
  EXPECT_EQ(messages.closeRequests, 2);
}

TEST(SdlPng, WritesAReadablePng) {
  test_files::TempDir dir;
  const std::string path = dir.File("shot.png");
  WritePng(path, {0, 1, 2, 128, 200, 255}, 3, 2, TestPalette());
  SDL_Surface* loaded = IMG_Load(path.c_str());
  ASSERT_NE(loaded, nullptr) << IMG_GetError();
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->w, 3);
  EXPECT_EQ(rgb->h, 2);
  const uint8_t* p = static_cast<uint8_t*>(rgb->pixels) + rgb->pitch + 3;  // (1, 1): index 200
  EXPECT_EQ((Color{p[0], p[1], p[2]}), TestColor(200));
  SDL_FreeSurface(rgb);
  SDL_FreeSurface(loaded);
}

}  // namespace
}  // namespace media
