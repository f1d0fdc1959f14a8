// The headless platform where the golden games cannot look: the exact error of
// a missing or wrong-sized back.bmp, and when a sound buffer counts as playing.
#include "media/headless/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/wav.h"
#include "support/script_run.h"
#include "support/test_files.h"

namespace media {
namespace {

// A headless platform whose hit sound is 8-bit mono at 1000 bytes a second,
// 100 bytes: 100 ms long.
struct Headless : ::testing::Test {
  void SetUp() override {
    resources.files["WAVHIT"] = test_files::MakeWav(1000, 8, 100);
    platform.SetResources(resources.Lookup());
    auto root = platform.CreateRoot();
    display = root->CreateDisplay();
    display->SetDisplayMode(640, 480, 8);
    hit = root->CreateSoundDevice()->CreateSoundBufferFromResource("WAVHIT");
  }

  test_files::Resources resources;
  HeadlessPlatform platform;
  std::shared_ptr<Display> display;
  std::shared_ptr<SoundBuffer> hit;
};

TEST_F(Headless, BackBmpErrorsAreOneLineNamingTheFile) {
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
}

TEST_F(Headless, PlaySemanticsOnTheVirtualClock) {
  const auto playing = [&] { return platform.IsSoundPlaying("WAVHIT"); };
  platform.SetTick(1000);
  hit->SetCurrentPosition(0);  // a rewind of a stopped buffer does not start it
  EXPECT_FALSE(playing());
  hit->Play();
  platform.Advance(60);
  hit->Play();  // still playing: goes on without a restart
  platform.Advance(39);
  EXPECT_TRUE(playing());
  platform.Advance(1);  // 100 ms after the start
  EXPECT_FALSE(playing());
  hit->Play();  // finished: starts again, at 1100
  platform.Advance(50);
  hit->SetCurrentPosition(0);  // playing: restarts at 1150
  platform.Advance(99);
  EXPECT_TRUE(playing());
  platform.Advance(1);
  EXPECT_FALSE(playing());
}

}  // namespace
}  // namespace media
