// The real window under Xvfb at sizes other than 640 x 480: --window fits
// the desktop, Alt+Enter to full screen and back to that size, and a resized
// window keeps sharp, letterboxed pixels.
#include <gtest/gtest.h>

#include "e2e/xsession.h"
#include "media/surface.h"
#include "support/script_run.h"

namespace {

using e2e::At;
using e2e::Pixel;
using testing_support::GameDir;

constexpr int kScreenW = 1600;
constexpr int kScreenH = 1200;

TEST(RealWindow, AWindowFitsTheDesktopAfterAltEnterTooAndAResizedOneStaysSharpAndLetterboxed) {
  e2e::XSession x(kScreenW, kScreenH);
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir;
  x.StartGame(dir.Path(), {"--window"});
  ASSERT_TRUE(x.WaitForWindow(15000)) << "no window";
  // 1600 x 1200 holds two times 640 x 480 but not three: so does the window
  // at the start and when Alt+Enter brings it back from full screen.
  const auto widthBecomes = [&](int width) {
    auto g = x.WindowGeometry();
    for (int tries = 0; tries < 50 && (!g || (*g)[2] != width); ++tries) {
      e2e::SleepMs(100);
      g = x.WindowGeometry();
    }
    EXPECT_TRUE(g && (*g)[2] == width && (*g)[3] == (width == kScreenW ? kScreenH : 960)) << width;
  };
  widthBecomes(1280);
  x.Xdotool({"mousemove", "800", "600"});
  x.Xdotool({"key", "alt+Return"});
  widthBecomes(kScreenW);
  x.Xdotool({"key", "alt+Return"});
  widthBecomes(1280);

  // Resized to 1500 x 1100 at the screen's corner: the picture stays 2x,
  // 1280 x 960, in the middle of the window, black around it.
  x.Xdotool({"search", "--onlyvisible", "--name", "Rapiko", "windowmove", "0", "0"});
  x.Xdotool({"search", "--onlyvisible", "--name", "Rapiko", "windowsize", "1500", "1100"});
  e2e::SleepMs(1000);
  const auto g = x.WindowGeometry();
  ASSERT_TRUE(g.has_value());
  ASSERT_EQ(*g, (std::array<int, 4>{0, 0, 1500, 1100}));
  const auto shot = x.Screenshot(dir.File("resized.png"));
  ASSERT_EQ(shot.size(), size_t{kScreenW} * kScreenH);
  auto at = [&](int px, int py) { return At(shot, px, py, kScreenW); };
  constexpr int kLeft = 110, kTop = 70;  // (1500 - 1280) / 2, (1100 - 960) / 2
  int notBlack = 0;
  for (int py = 0; py < 1100; ++py) {
    for (int px = 0; px < 1500; ++px) {
      const bool inside = px >= kLeft && px < kLeft + 1280 && py >= kTop && py < kTop + 960;
      if (!inside) notBlack += !(at(px, py) == Pixel{0, 0, 0});
    }
  }
  EXPECT_EQ(notBlack, 0) << "the letterbox is black";
  // Sharp: each picture pixel is a 2 x 2 square of one colour...
  int blurred = 0;
  for (int py = kTop; py < kTop + 960; py += 2) {
    for (int px = kLeft; px < kLeft + 1280; px += 2) {
      const Pixel p = at(px, py);
      blurred += !(at(px + 1, py) == p && at(px, py + 1) == p && at(px + 1, py + 1) == p);
    }
  }
  EXPECT_EQ(blurred, 0);
  // ...and away from the title panel it is the background picture.
  const std::string bmp = dir.Read("back.bmp");
  auto back = media::LoadBmp8(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), "back");
  for (auto [px, py] : {std::pair{600, 20}, {500, 100}, {630, 470}, {0, 0}, {639, 479}}) {
    const media::Color c = back->GetPalette()->Colors()[back->At(px, py)];
    EXPECT_TRUE((at(kLeft + 2 * px, kTop + 2 * py) == Pixel{c.r, c.g, c.b})) << px << "," << py;
  }
  x.Xdotool({"key", "Escape"});
  EXPECT_TRUE(x.WaitForExit(15000).has_value());
}

}  // namespace
