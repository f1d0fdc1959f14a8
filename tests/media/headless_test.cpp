// Where the golden games cannot look: what the display says of a player's background picture that
// is missing, of another size (startup_small_background: a whole run) or too large to read.
#include "media/headless/headless.h"

#include <gtest/gtest.h>

#include "support/script_run.h"
#include "support/test_files.h"

namespace media {
namespace {

using test_files::ErrorOf;

TEST(Headless, PictureErrorsSayWhatIsWrong) {
  HeadlessPlatform platform;
  auto display = platform.CreateRoot()->CreateDisplay();
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
}

}  // namespace
}  // namespace media
