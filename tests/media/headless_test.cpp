// Where the golden games cannot look: the display's exact errors (a background of another
// size: startup_small_background), the glyph sheet's, the keyboard's and the sounds' of the
// headless platform.
#include "media/headless/headless.h"

#include <gtest/gtest.h>

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
  const auto bytes = test_files::Bmp(320, 200, [](int32_t, int32_t) { return 7; });
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
    resources.files[name] = test_files::Bmp(w, h, pixel);
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

// The keyboard is read only while acquired (its queue of 64 and the batches read: the golden games
// script_key_queue, title_five_events); a sound plays only from its start.
TEST(Headless, KeysAreReadOnlyWhileAcquiredAndASoundPlaysFromItsStart) {
  HeadlessPlatform platform;
  auto keyboard = platform.CreateRoot()->CreateInput()->CreateKeyboardDevice();
  std::array<KeyEvent, 5> events{};
  const auto read = [&] { return keyboard->GetDeviceData(events); };
  EXPECT_EQ(ErrorOf(read), "keyboard not acquired");
  platform.QueueKey(30, 0x80);
  keyboard->Acquire();
  keyboard->Unacquire();
  EXPECT_EQ(ErrorOf(read), "keyboard not acquired");
  keyboard->Acquire();
  EXPECT_EQ(read(), 1);

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
