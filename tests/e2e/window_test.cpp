// The real window under Xvfb: the background full screen, Space starts a
// round, a mouse click ends the game with the ranking written.
#include <gtest/gtest.h>

#include "e2e/xsession.h"
#include "media/surface.h"
#include "support/script_run.h"

namespace {

using e2e::At;
using e2e::Pixel;
using testing_support::GameDir;

bool Same(Pixel p, media::Color c) { return p.r == c.r && p.g == c.g && p.b == c.b; }

TEST(RealWindow, ShowsTheBackgroundStartsARoundAndQuitsOnAClick) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir;
  const std::string bmp = dir.Read("back.bmp");
  auto back = media::LoadBmp8(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), "back");
  auto color = [&](int px, int py) { return back->GetPalette()->Colors()[back->At(px, py)]; };

  x.StartGame(dir.Path());
  ASSERT_TRUE(x.WaitForWindow(15000)) << "no window";
  e2e::SleepMs(1000);
  auto title = x.Screenshot(dir.File("title.png"));
  ASSERT_EQ(title.size(), 640u * 480u);
  // Away from the title panel the screen is the background picture, pixel
  // for pixel: full screen, unscaled at 640 x 480.
  for (auto [px, py] :
       {std::pair{600, 20}, {500, 100}, {630, 470}, {400, 150}, {0, 0}, {639, 479}}) {
    EXPECT_TRUE(Same(At(title, px, py), color(px, py))) << px << "," << py;
  }
  // The ranking panel is pale pink.
  EXPECT_TRUE(Same(At(title, 340, 400), {255, 230, 230}));

  x.Xdotool({"mousemove", "320", "240"});
  x.Xdotool({"key", "space"});
  e2e::SleepMs(1000);
  auto play = x.Screenshot(dir.File("play.png"));
  ASSERT_EQ(play.size(), 640u * 480u);
  // The status box of play is up, and the ranking panel has gone.
  EXPECT_TRUE(Same(At(play, 90, 50), {255, 230, 230}));
  EXPECT_TRUE(Same(At(play, 2, 2), {102, 0, 51}));
  EXPECT_TRUE(Same(At(play, 340, 400), color(340, 400)));

  x.Xdotool({"click", "1"});
  auto status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value()) << "the game did not end on a click";
  EXPECT_EQ(*status, 0);
  const std::string ranking = dir.Read("rapikosc.ini");
  EXPECT_EQ(std::count(ranking.begin(), ranking.end(), '\n'), 21);
  EXPECT_EQ(ranking.rfind("\"\"\r\n\"\"\r\n0\r\n", 0), 0u);
}

}  // namespace
