// Where the golden games cannot look: back.bmp's exact errors, display modes, WAVE fields.
#include "media/headless/headless.h"

#include <gtest/gtest.h>

#include <string>

#include "media/wav.h"
#include "support/script_run.h"
#include "support/test_files.h"

namespace media {
namespace {

TEST(Headless, DisplayAndBackBmpErrorsSayWhatIsWrong) {
  HeadlessPlatform platform;
  auto display = platform.CreateRoot()->CreateDisplay();
  EXPECT_EQ(
      test_files::ErrorOf([&] { display->SetDisplayMode(640, 480, 16); }),
      "display mode 640 x 480 with 16 bits per pixel is not available (only 640 x 480 with 8)");
  EXPECT_EQ(test_files::ErrorOf([&] { display->CreatePrimarySurface(2); }),
            "a flip chain has exactly one back buffer, not 2");
  display->SetDisplayMode(640, 480, 8);
  testing_support::GameDir dir;
  const std::string missing = dir.File("none.bmp");
  const auto bytes = test_files::Bmp(320, 200, [](int32_t, int32_t) { return 7; }).Bytes();
  dir.Write("small.bmp", std::string(bytes.begin(), bytes.end()));
  const std::string small = dir.File("small.bmp");
  for (const std::string& path : {missing, small}) {
    const std::string problem = path == missing ? "cannot read: No such file or directory"
                                                : "the picture is 320 x 200, not 640 x 480";
    EXPECT_EQ(test_files::ErrorOf([&] { display->CreateSurfaceFromFile(path, 640, 480); }),
              path + ": " + problem);
    // The palette of a picture of another size is still good.
    EXPECT_EQ(test_files::ErrorOf([&] { display->LoadPaletteFromFile(path); }),
              path == missing ? path + ": " + problem : "no error");
  }
}

TEST(ReadWaveInfo, EveryByteOfAFieldCounts) {
  const WaveInfo wide = ReadWaveInfo(test_files::MakeWav(0x12345678, 0x0108, 2));
  EXPECT_EQ(wide.samplesPerSecond, 0x12345678u);
  EXPECT_EQ(wide.bitsPerSample, 0x0108u);
  EXPECT_EQ(wide.blockAlign, 0x21u);
}

}  // namespace
}  // namespace media
