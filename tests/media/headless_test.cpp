// Tests of the headless platform: frame log, screen copy, sound model, keys and back.bmp.
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

TEST_F(Headless, FrameOpsAreRecordedInOrderWithTheFlip) {
  platform.ClearFrame();
  back->FastBlit(0, 0, *background, Rect{}, BlitFlags::Wait);
  back->SetForeColor(MakeRgb(255, 0, 0));
  back->SetFillColor(MakeRgb(0, 0, 255));
  back->DrawBox(10, 20, 30, 40);
  back->DrawText(5, 6, "Rapiko");
  back->FastBlit(600, 0, *sprite, Rect{0, 0, 49, 37}, BlitFlags::KeySrcWait);  // off the edge
  background->SetForeColor(MakeRgb(1, 2, 3));  // not the back buffer: not recorded
  primary->Flip();

  const auto& ops = platform.FrameOps();
  using K = SurfaceOp::Kind;
  std::vector<K> kinds;
  for (const SurfaceOp& op : ops) kinds.push_back(op.kind);
  ASSERT_EQ(kinds, (std::vector<K>{K::Blit, K::Fore, K::Fill, K::Box, K::Text, K::Blit, K::Flip}));
  EXPECT_EQ(ops[0].src, "background");
  EXPECT_TRUE(ops[0].drawn);
  EXPECT_EQ(ops[3].rect, (Rect{10, 20, 30, 40}));
  EXPECT_EQ(ops[4].text, "Rapiko");
  EXPECT_EQ(ops[5].src, "sprite");
  EXPECT_FALSE(ops[5].drawn);
  platform.ClearFrame();
  EXPECT_TRUE(platform.FrameOps().empty());
}

TEST_F(Headless, ScreenIsTheFrameOfTheLastFlip) {
  ASSERT_EQ(platform.ScreenPixels(), std::vector<uint8_t>(640 * 480, 0));
  back->FastBlit(0, 0, *background, Rect{}, BlitFlags::Wait);
  primary->Flip();
  for (int32_t y : {0, 240, 479}) {
    for (int32_t x : {0, 1, 639}) EXPECT_EQ(platform.ScreenPixels()[y * 640 + x], BackPixel(x, y));
  }
  EXPECT_EQ(platform.ScreenPalette().Colors()[200], test_files::TestColor(200));
  back->FastBlit(0, 0, *sprite, Rect{0, 0, 49, 37}, BlitFlags::Wait);
  EXPECT_EQ(platform.ScreenPixels()[1], BackPixel(1, 0));  // not until the next flip
  primary->Flip();
  EXPECT_EQ(platform.ScreenPixels()[1], SheetPixel(1, 0));
}

TEST_F(Headless, TheSheetIsCutTo346Wide) {
  auto& sheet = dynamic_cast<SoftSurface&>(*sprite);
  EXPECT_EQ(sheet.Width(), 346);
  EXPECT_EQ(sheet.Height(), 262);
  EXPECT_EQ(sheet.At(345, 261), SheetPixel(345, 261));
}

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

TEST_F(Headless, SoundLogNamesTheResources) {
  for (const char* name : kSounds) buffers[name]->Play();
  buffers["WAVHIT"]->SetCurrentPosition(0);
  EXPECT_EQ(
      platform.TakeSoundLog(),
      (std::vector<std::string>{"WAVKYAN.play", "WAVSHOT.play", "WAVHIT.play", "WAVFUEEN.play",
                                "WAVTYPE.play", "WAVEND.play", "WAVSTART.play", "WAVHIT.rewind"}));
  EXPECT_TRUE(platform.TakeSoundLog().empty());
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

TEST_F(Headless, KeyQueueHolds64OldestFirst) {
  platform.SetTick(500);
  for (int32_t i = 0; i < 64; ++i) {
    EXPECT_TRUE(platform.QueueKey(i + 1, i % 2 ? 0 : 128));
    platform.Advance(1);
  }
  EXPECT_FALSE(platform.QueueKey(99, 128));  // the 65th is dropped
  std::vector<KeyEvent> events(65);
  ASSERT_EQ(keyboard->GetDeviceData(events), 64);
  for (int32_t i = 0; i < 64; ++i) {
    EXPECT_EQ(events[i].keyCode, i + 1);
    EXPECT_EQ(events[i].data, i % 2 ? 0 : 128);
    EXPECT_EQ(events[i].timeStamp, 500 + i);
  }
  EXPECT_EQ(events[64].keyCode, 0);
  EXPECT_EQ(platform.PendingKeys(), 0u);
}

TEST_F(Headless, PartialReadsLeaveLaterSlotsAsPassedAndUnacquiredReadsFail) {
  for (int32_t key : {30, 48, 46, 32, 18, 33, 34}) platform.QueueKey(key, 128);
  const KeyEvent marker{77, 55, 0, 0};
  std::vector<KeyEvent> five(5, marker);
  ASSERT_EQ(keyboard->GetDeviceData(five), 5);
  EXPECT_EQ(five[4].keyCode, 18);
  std::fill(five.begin(), five.end(), marker);
  ASSERT_EQ(keyboard->GetDeviceData(five), 2);
  EXPECT_EQ(five[0].keyCode, 33);
  EXPECT_EQ(five[1].keyCode, 34);
  for (size_t i = 2; i < 5; ++i) EXPECT_EQ(five[i].keyCode, 77);
  keyboard->Unacquire();
  EXPECT_THROW(keyboard->GetDeviceData(five), PlatformError);
}

}  // namespace
}  // namespace media
