// Tests of the SDL backend on the dummy drivers: sound, keys and messages. The window's
// picture, the focusing click and the PNG files of screenshots (compared with the
// real screen) are looked at by the end-to-end tests.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "media/headless/headless.h"
#include "media/sdl/system.h"
#include "support/test_files.h"

namespace media {
namespace {

struct Messages : WindowEvents {
  int mouseDowns = 0, closeRequests = 0;
  void OnMouseDown() override { ++mouseDowns; }
  void OnCloseRequest() override { ++closeRequests; }
  void OnFocusLost() override {}
  void OnFocusGained() override {}
};

// Pushes an event of the given type; a text event when text is given.
void Push(Uint32 type, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN, SDL_Keycode sym = 0,
          const char* text = nullptr) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = sym;
  if (type == SDL_WINDOWEVENT) e.window.event = SDL_WINDOWEVENT_CLOSE;
  if (text) SDL_strlcpy(e.text.text, text, sizeof e.text.text);
  ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

class SdlBackend : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }

  void Start(KeyReading keys = KeyReading::Character, bool mute = false) {
    root.reset();
    system.reset();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
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

// Without a sound device the game says so and plays silently: the
// real-window test looks at that.
TEST_F(SdlBackend, SoundBuffersPlayOnTheirOwnChannelsOrMutedNotAtAll) {
  {
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
    // A sound missing from the program is an error.
    EXPECT_THROW(device->CreateSoundBufferFromResource("WAVNONE"), PlatformError);
  }
  Start(KeyReading::Character, true);
  root->CreateSoundDevice()->CreateSoundBufferFromResource("WAVKYAN")->Play();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  EXPECT_TRUE(notices.empty());
}

// After ten seconds of silence the device closes (no thread mixes silence);
// the next sound opens it again and plays; buffers outlive it closed.
TEST_F(SdlBackend, ASilentDeviceClosesAndTheNextSoundOpensIt) {
  resources.files["WAVHIT"] = test_files::MakeWav(22050, 8, 100);
  Start();
  auto device = root->CreateSoundDevice();
  auto hit = device->CreateSoundBufferFromResource("WAVHIT");
  auto kyan = device->CreateSoundBufferFromResource("WAVKYAN");
  hit->Play();
  Messages messages;
  const Uint64 start = SDL_GetTicks64();
  while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0 && SDL_GetTicks64() - start < 60000) {
    system->DispatchMessages(messages);
    SDL_Delay(20);
  }
  EXPECT_GE(SDL_GetTicks64() - start, 10000u);
  ASSERT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "still open after 60 s";
  kyan->SetCurrentPosition(0);  // nothing plays: nothing to do, and no channel to touch
  kyan->Play();
  EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(Mix_Playing(-1), 1);
  EXPECT_TRUE(notices.empty());
}

TEST_F(SdlBackend, KeysByCharacterOrByPlaceReleaseAsPressedAndQueueUpTo64) {
  // AZERTY: the key in the Q place types a; the - key, pressed and then
  // released with Shift held, still releases as -; a press of the key in
  // the 1 place without text still counts as 1. By position they are the
  // keys in the US places: Q, 6 and 1.
  for (const KeyReading keys : {KeyReading::Character, KeyReading::Position}) {
    Start(keys);
    auto keyboard = root->CreateInput()->CreateKeyboardDevice();
    keyboard->Acquire();
    Push(SDL_KEYDOWN, SDL_SCANCODE_Q, 'a');
    Push(SDL_TEXTINPUT, {}, 0, "a");
    Push(SDL_KEYUP, SDL_SCANCODE_Q, 'a');
    Push(SDL_KEYDOWN, SDL_SCANCODE_6, '6');
    Push(SDL_TEXTINPUT, {}, 0, "-");
    Push(SDL_KEYUP, SDL_SCANCODE_6, '6');
    Push(SDL_KEYDOWN, SDL_SCANCODE_1, '1');
    std::vector<KeyEvent> events(10);
    ASSERT_EQ(keyboard->GetDeviceData(events), 5);
    const bool byPlace = keys == KeyReading::Position;
    const int32_t q = byPlace ? 16 : 30, dash = byPlace ? 7 : 12;
    const std::pair<int32_t, int32_t> expected[] = {
        {q, 128}, {q, 0}, {dash, 128}, {dash, 0}, {2, 128}};
    for (size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(events[i].keyCode, expected[i].first) << i << " " << byPlace;
      EXPECT_EQ(events[i].data, expected[i].second) << i << " " << byPlace;
    }
    // Up to 64 events wait for a read; later ones are lost.
    for (int i = 0; i < 40; ++i) {
      Push(SDL_KEYDOWN, SDL_Scancode(SDL_SCANCODE_A + i % 26));
      Push(SDL_KEYUP, SDL_Scancode(SDL_SCANCODE_A + i % 26));
    }
    std::vector<KeyEvent> many(100);
    ASSERT_EQ(keyboard->GetDeviceData(many), 64);
    EXPECT_EQ(many[63].keyCode, 33);  // the release of F, the 32nd letter
    EXPECT_EQ(keyboard->GetDeviceData(many), 0);
  }
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

}  // namespace
}  // namespace media
