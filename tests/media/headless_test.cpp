// Where the golden games cannot look: the display's exact errors (a background of another
// size: startup_small_background), the glyph sheet's, the keyboard and the sounds of the
// headless platform.
#include "media/headless/headless.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support/script_run.h"
#include "support/test_files.h"

namespace media {
namespace {

using test_files::ErrorOf;

TEST(Headless, DisplayAndPictureErrorsSayWhatIsWrong) {
  HeadlessPlatform platform;
  auto display = platform.CreateRoot()->CreateDisplay();
  EXPECT_EQ(
      ErrorOf([&] { display->SetDisplayMode(640, 480, 16); }),
      "display mode 640 x 480 with 16 bits per pixel is not available (only 640 x 480 with 8)");
  EXPECT_EQ(ErrorOf([&] { display->CreatePrimarySurface(2); }),
            "a flip chain has exactly one back buffer, not 2");
  testing_support::GameDir dir;
  const std::string none = dir.File("none.bmp"), small = dir.File("small.bmp");
  EXPECT_EQ(ErrorOf([&] { display->LoadPaletteFromFile(none); }),
            none + ": cannot read: No such file or directory");
  const auto bytes = test_files::Bmp(320, 200, [](int32_t, int32_t) { return 7; }).Bytes();
  dir.Write("small.bmp", std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(ErrorOf([&] { display->CreateSurfaceFromFile(small, 320, 200); }), "no error");
  for (const auto& [w, h] : {std::pair{320, 201}, {321, 200}}) {
    EXPECT_EQ(
        ErrorOf([&] { display->CreateSurfaceFromFile(small, w, h); }),
        small + ": the picture is 320 x 200, not " + std::to_string(w) + " x " + std::to_string(h));
  }
  // Files of up to 16 MiB are read; a larger one is refused unread.
  for (const size_t size : {size_t{16} << 20, (size_t{16} << 20) + 1}) {
    dir.Write("huge.bmp", std::string(size, 0));
    EXPECT_EQ(ErrorOf([&] { display->LoadPaletteFromFile(dir.File("huge.bmp")); }),
              dir.File("huge.bmp") + (size == size_t{16} << 20
                                          ? ": not a BMP file"
                                          : ": cannot read: larger than 16777216 bytes"));
  }
  // The glyph sheet may be stored wider than the game uses (its left part is taken), never
  // narrower nor of another height.
  test_files::Resources resources;
  const auto pixel = [](int32_t x, int32_t y) { return static_cast<uint8_t>(1 + x + 10 * y); };
  for (const auto& [name, w, h] :
       {std::tuple{"WIDE", 6, 2}, {"EXACT", 4, 2}, {"NARROW", 3, 2}, {"LOW", 4, 1}})
    resources.files[name] = test_files::Bmp(w, h, pixel).Bytes();
  resources.files["DAMAGED"] = {'B', 'X'};
  platform.SetResources(resources.Lookup());
  for (const char* name : {"WIDE", "EXACT"}) {
    const auto sheet =
        std::dynamic_pointer_cast<SoftSurface>(display->CreateSurfaceFromResource(name, 4, 2));
    ASSERT_TRUE(sheet) << name;
    EXPECT_EQ(sheet->Pixels(), (std::vector<uint8_t>{1, 2, 3, 4, 11, 12, 13, 14})) << name;
    EXPECT_EQ(sheet->GetPalette()->Colors()[9], test_files::TestColor(9)) << name;
  }
  for (const auto& [name, problem] :
       {std::pair{"NARROW", "the picture is 3 x 2, not 4 x 2 or wider"},
        {"LOW", "the picture is 4 x 1, not 4 x 2 or wider"},
        {"DAMAGED", "not a BMP file"},
        {"NONE", "no such picture in the program"}}) {
    EXPECT_EQ(ErrorOf([&] { display->CreateSurfaceFromResource(name, 4, 2); }),
              std::string(name) + ": " + problem);
  }
}

// Keys wait in a queue of 64 until the game reads them, which it may only do while the
// keyboard is acquired; each keeps the tick it was queued at and its place in the order.
TEST(Headless, KeysWaitInAQueueOf64ReadWhileAcquiredAndASoundPlaysFromItsStart) {
  HeadlessPlatform platform;
  auto keyboard = platform.CreateRoot()->CreateInput()->CreateKeyboardDevice();
  std::array<KeyEvent, 5> events{};
  const auto read = [&] { return keyboard->GetDeviceData(events); };
  EXPECT_EQ(ErrorOf(read), "keyboard not acquired");
  platform.SetTick(1000);
  for (int32_t i = 0; i < 64; ++i) {
    EXPECT_TRUE(platform.QueueKey(2 + i % 10, 0x80)) << i;
    platform.Advance(1);
  }
  EXPECT_FALSE(platform.QueueKey(30, 0x80));
  keyboard->Acquire();
  ASSERT_EQ(read(), 5);
  for (int32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(
        std::tuple(events[i].keyCode, events[i].data, events[i].timeStamp, events[i].sequence),
        std::tuple(2 + i, 0x80, 1000 + i, i));
  }
  keyboard->Unacquire();
  EXPECT_EQ(ErrorOf(read), "keyboard not acquired");
  keyboard->Acquire();
  int32_t left = 0;
  for (int32_t n = read(); n > 0; n = read()) left += n;
  EXPECT_EQ(left, 59);
  EXPECT_TRUE(platform.QueueKey(30, 0));  // room again
  // A scripted run's keys are a US keyboard's, letters shown as capitals.
  EXPECT_EQ(keyboard->KeyCharacter(30), U'A');
  EXPECT_EQ(keyboard->KeyCharacter(12), U'-');
  EXPECT_EQ(keyboard->KeyCharacter(1), U'\0');

  // A sound plays only from its start.
  test_files::Resources resources;
  resources.files["WAVHIT"] = test_files::MakeWav(22050, 8, 10);
  platform.SetResources(resources.Lookup());
  auto sound = platform.CreateRoot()->CreateSoundDevice()->CreateSoundBufferFromResource("WAVHIT");
  sound->SetCurrentPosition(0);
  sound->Play();
  EXPECT_EQ(ErrorOf([&] { sound->SetCurrentPosition(5); }),
            "WAVHIT: play position 5 is not supported (only 0)");
  EXPECT_EQ(platform.TakeSoundLog(),
            (std::vector<std::string>{"WAVHIT.rewind", "WAVHIT.play", "WAVHIT.rewind"}));
  EXPECT_TRUE(platform.TakeSoundLog().empty());
}

}  // namespace
}  // namespace media
