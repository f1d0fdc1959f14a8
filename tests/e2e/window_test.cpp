// The real window under Xvfb: the background full screen, Space starts a
// round, a mouse click ends the game with the ranking written; silence
// without a sound device; the pause without the focus, and the focusing click.
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

  // A busy machine may show the window well before its first frame: the
  // screen is looked at until it shows what is awaited, or 15 s have passed.
  const auto awaitScreen = [&](const char* file, int x0, int y0, Pixel want,
                               const std::vector<std::string>& keys) {
    std::vector<Pixel> screen;
    for (int tries = 0; tries < 75; ++tries) {
      if (tries % 10 == 0 && !keys.empty()) x.Xdotool(keys);
      screen = x.Screenshot(dir.File(file));
      if (screen.size() == 640u * 480u && Same(At(screen, x0, y0), {want.r, want.g, want.b})) break;
      e2e::SleepMs(200);
    }
    return screen;
  };

  // A sound driver with no device (ALSA without any configured): the game
  // says so in one line and plays silently.
  dir.Write("no-alsa.conf", "");
  x.SetEnv("SDL_AUDIODRIVER", "alsa");
  x.SetEnv("ALSA_CONFIG_PATH", dir.File("no-alsa.conf"));
  x.StartGame(dir.Path(), {}, dir.File("stderr.txt"));
  ASSERT_TRUE(x.WaitForWindow(15000)) << "no window";
  auto title = awaitScreen("title.png", 340, 400, {255, 230, 230}, {});
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
  auto play = awaitScreen("play.png", 2, 2, {102, 0, 51}, {"key", "space"});
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
  const std::string err = dir.Read("stderr.txt");
  EXPECT_EQ(err.rfind("rapiko: no sound device (", 0), 0u) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("); playing without sound\n"), std::string::npos) << err;
}

// The pause panel: pale pink inside a dark purple frame, mid-field.
bool Paused(const std::vector<Pixel>& s) {
  return Same(At(s, 260, 240), {102, 0, 51}) && Same(At(s, 270, 250), {255, 230, 230});
}

TEST(RealWindow, WithoutTheFocusTheRoundPausesAndTheFocusingClickDoesNotQuit) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir("CAT\r\nDOG\r\nEMU\r\nFOX\r\n");
  x.StartGame(dir.Path(), {"--window"});
  const std::string shot = dir.File("shot.png");
  ASSERT_TRUE(x.WaitForTitle(15000, shot)) << "no title screen";
  x.Xdotool({"mousemove", "320", "240"});
  x.Xdotool({"key", "space"});
  auto playing = [](const auto& s) { return Same(At(s, 2, 2), {102, 0, 51}); };
  ASSERT_FALSE(e2e::PollScreen(x, shot, 10000, playing).empty()) << "no round";
  // Letters are falling: the field changes from one screenshot to the next.
  auto moving = x.Screenshot(shot);
  ASSERT_FALSE(e2e::PollScreen(x, shot, 5000, [&](const auto& s) { return s != moving; }).empty());

  ASSERT_TRUE(x.FocusAway());
  const auto paused = e2e::PollScreen(x, dir.File("paused.png"), 5000, Paused);
  ASSERT_FALSE(paused.empty()) << "no pause panel";
  // Over more than a second nothing moves: not the clock, not a letter.
  e2e::SleepMs(1500);
  EXPECT_TRUE(x.Screenshot(shot) == paused) << "the round went on while paused";

  // The click that gives the window its focus back resumes the round.
  x.Xdotool({"click", "1"});
  auto resumed = e2e::PollScreen(x, shot, 5000, [](const auto& s) { return !Paused(s); });
  ASSERT_FALSE(resumed.empty()) << "still paused after the focusing click";
  EXPECT_TRUE(x.GameRunning()) << "the focusing click quit the game";
  EXPECT_FALSE(e2e::PollScreen(x, shot, 5000, [&](const auto& s) { return s != resumed; }).empty())
      << "the round did not go on";
  // A click on the focused window quits, as it always did.
  x.Xdotool({"click", "1"});
  auto status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value()) << "the game did not end on a click";
  EXPECT_EQ(*status, 0);
}

}  // namespace
