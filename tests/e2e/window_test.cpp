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
// The status box's dark purple frame shows during a round.
bool Playing(const std::vector<Pixel>& s) { return Same(At(s, 2, 2), {102, 0, 51}); }

TEST(RealWindow, ShowsTheBackgroundStartsARoundAndQuitsOnAClick) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir;
  const std::string bmp = dir.Read("back.bmp");
  auto back = media::LoadBmp8(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), "back");
  auto color = [&](int px, int py) { return back->GetPalette()->Colors()[back->At(px, py)]; };

  // A sound driver with no device (ALSA without any configured): the game
  // says so in one line and plays silently.
  dir.Write("no-alsa.conf", "");
  x.SetEnv("SDL_AUDIODRIVER", "alsa");
  x.SetEnv("ALSA_CONFIG_PATH", dir.File("no-alsa.conf"));
  x.StartGame(dir.Path(), {}, dir.File("stderr.txt"));
  // The ranking panel is pale pink once the title screen shows.
  const auto title = e2e::PollScreen(x, dir.File("title.png"), 15000, [](const auto& s) {
    return Same(At(s, 340, 400), {255, 230, 230});
  });
  ASSERT_FALSE(title.empty()) << "no title screen";
  // Away from the title panel the screen is the background picture, pixel
  // for pixel: full screen, unscaled at 640 x 480.
  for (auto [px, py] :
       {std::pair{600, 20}, {500, 100}, {630, 470}, {400, 150}, {0, 0}, {639, 479}}) {
    EXPECT_TRUE(Same(At(title, px, py), color(px, py))) << px << "," << py;
  }

  x.Xdotool({"mousemove", "320", "240"});
  x.Xdotool({"key", "space"});
  const auto play = e2e::PollScreen(x, dir.File("play.png"), 10000, Playing);
  ASSERT_FALSE(play.empty()) << "no round";
  // The status box of play is up, and the ranking panel has gone.
  EXPECT_TRUE(Same(At(play, 90, 50), {255, 230, 230}));
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
  ASSERT_FALSE(e2e::PollScreen(x, shot, 10000, Playing).empty()) << "no round";
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
