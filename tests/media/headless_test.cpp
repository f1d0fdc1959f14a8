// The headless platform where the golden games cannot look: the exact error of
// each damaged back.bmp, and when a sound buffer counts as playing.
#include "media/headless/headless.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace media {
namespace {

using test_files::Bmp;

constexpr const char* kSounds[] = {"WAVKYAN", "WAVSHOT", "WAVHIT",  "WAVFUEEN",
                                   "WAVTYPE", "WAVEND",  "WAVSTART"};

uint8_t BackPixel(int32_t x, int32_t y) { return static_cast<uint8_t>((x + 3 * y) % 256); }
// The stored sheet is 348 wide, its last two columns index 0.
uint8_t SheetPixel(int32_t x, int32_t y) { return x >= 346 ? 0 : (7 * x + y) % 256; }

// The game's start-up on a platform whose sounds are 8-bit mono at 1000
// bytes a second, each 100 bytes: 100 ms long.
struct Headless : ::testing::Test {
  void SetUp() override {
    resources.files["ABC"] = Bmp(348, 262, SheetPixel).Bytes();
    for (const char* name : kSounds) resources.files[name] = test_files::MakeWav(1000, 8, 100);
    platform.SetResources(resources.Lookup());
    backPath = dir.Write("back.bmp", Bmp(640, 480, BackPixel).Bytes());
    auto root = platform.CreateRoot();
    display = root->CreateDisplay();
    display->SetDisplayMode(640, 480, 8);
    primary = display->CreatePrimarySurface(1);
    back = primary->GetAttachedSurface();
    primary->SetPalette(display->LoadPaletteFromFile(backPath));
    background = display->CreateSurfaceFromFile(backPath, 640, 480);
    sprite = display->CreateSurfaceFromResource("ABC", 346, 262);
    auto sound = root->CreateSoundDevice();
    for (const char* name : kSounds) buffers[name] = sound->CreateSoundBufferFromResource(name);
    keyboard = root->CreateInput()->CreateKeyboardDevice();
    keyboard->Acquire();
  }

  test_files::Resources resources;
  test_files::TempDir dir;
  std::string backPath;
  HeadlessPlatform platform;
  std::shared_ptr<Display> display;
  std::shared_ptr<Surface> primary, back, background, sprite;
  std::map<std::string, std::shared_ptr<SoundBuffer>> buffers;
  std::shared_ptr<KeyboardDevice> keyboard;
};

TEST_F(Headless, BackBmpErrorsAreOneLineNamingTheFile) {
  std::vector<uint8_t> damaged = Bmp(640, 480, BackPixel).Bytes();
  damaged.resize(2000);
  const struct {
    std::vector<uint8_t> bytes;  // empty: no file
    std::string problem;
    bool paletteFails;
  } cases[] = {
      {{}, "cannot read: No such file or directory", true},
      {damaged, "truncated", true},
      {Bmp(640, 480, BackPixel, 24).Bytes(), "not a 256-colour picture (24 bits per pixel)", true},
      {Bmp(320, 200, BackPixel).Bytes(), "the picture is 320 x 200, not 640 x 480", false},
  };
  const auto errorOf = [](auto load) -> std::string {
    try {
      load();
    } catch (const PlatformError& e) {
      return e.what();
    }
    return "no error";
  };
  for (const auto& c : cases) {
    test_files::TempDir other;
    const std::string path =
        c.bytes.empty() ? other.File("back.bmp") : other.Write("back.bmp", c.bytes);
    const std::string expected = path + ": " + c.problem;
    EXPECT_EQ(errorOf([&] { display->CreateSurfaceFromFile(path, 640, 480); }), expected);
    EXPECT_EQ(errorOf([&] { display->LoadPaletteFromFile(path); }),
              c.paletteFails ? expected : "no error");
  }
}

TEST_F(Headless, PlaySemanticsOnTheVirtualClock) {
  SoundBuffer& hit = *buffers["WAVHIT"];
  const auto playing = [&] { return platform.IsSoundPlaying("WAVHIT"); };
  platform.SetTick(1000);
  hit.SetCurrentPosition(0);  // a rewind of a stopped buffer does not start it
  EXPECT_FALSE(playing());
  hit.Play();
  platform.Advance(60);
  hit.Play();  // still playing: goes on without a restart
  platform.Advance(39);
  EXPECT_TRUE(playing());
  platform.Advance(1);  // 100 ms after the start
  EXPECT_FALSE(playing());
  hit.Play();  // finished: starts again, at 1100
  platform.Advance(50);
  hit.SetCurrentPosition(0);  // playing: restarts at 1150
  platform.Advance(99);
  EXPECT_TRUE(playing());
  platform.Advance(1);
  EXPECT_FALSE(playing());
  EXPECT_FALSE(platform.IsSoundPlaying("WAVKYAN"));
}

}  // namespace
}  // namespace media
