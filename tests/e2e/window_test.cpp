// The real window under Xvfb: the background full screen, Space starts a round, typed letters
// lock, Esc or the end of the session saves the ranking; the pause without the focus, the
// focusing click, a click ends the game; silence without a sound device; --window fitting the
// desktop, Alt+Enter to full screen at a fractional scale and a resized window following; a
// replay's long pass ended at once. (What keys type on other layouts: tests/media/cases/keys.txt;
// the options' choices kept: tests/game/kept_rounds_test.cpp.)
#include <gtest/gtest.h>

#include <csignal>

#include "e2e/xsession.h"
#include "media/frame_scaler.h"
#include "media/surface.h"
#include "support/script_run.h"

namespace {

using e2e::At;
using e2e::Pixel;
using e2e::Screen;
using testing_support::GameDir;

// The status box's dark purple frame shows during a round.
bool Playing(const Screen& s) { return At(s, 2, 2) == Pixel{102, 0, 51}; }

// The game folder's background picture, as a screen shows its pixel (x, y).
std::function<Pixel(int, int)> Background(const GameDir& dir) {
  const std::string bmp = dir.Read("back.bmp");
  std::shared_ptr<media::SoftSurface> back =
      media::LoadBmp8(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), "back");
  return [back](int x, int y) {
    const media::Color c = back->GetPalette()->Colors()[back->At(x, y)];
    return Pixel{c.r, c.g, c.b};
  };
}

// Points away from the title panel and the hint line, where the screen is the background.
const std::pair<int, int> kBackgroundPoints[] = {{600, 40},  {500, 100}, {630, 470},
                                                 {400, 150}, {0, 0},     {639, 479}};

// The pause panel: pale pink inside a dark purple frame, mid-field.
bool Paused(const Screen& s) {
  return At(s, 260, 240) == Pixel{102, 0, 51} && At(s, 270, 250) == Pixel{255, 230, 230};
}

// The part of a screenshot of a screen screenW wide at (x, y, w, h).
Screen Part(const Screen& shot, int x, int y, int w, int h, int screenW = 640) {
  Screen part;
  for (int py = y; py < y + h && !shot.empty(); ++py)
    for (int px = x; px < x + w; ++px) part.push_back(At(shot, px, py, screenW));
  return part;
}

// The lock gauge's first cell.
Screen Cell(const Screen& screen) { return Part(screen, 12, 200, 32, 16); }

// The screens a scripted run in a folder with these words shows at each "shot" line of the
// script: any build of the game draws the same pixels.
std::vector<Screen> Shots(const std::string& words, std::string script) {
  GameDir dir(words);
  int n = 0;
  for (size_t at; (at = script.find("shot\n")) != std::string::npos; ++n)
    script.replace(at, 4, "screenshot " + dir.File(std::to_string(n) + ".png"));
  const auto r = testing_support::RunScript(dir, script);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::vector<Screen> screens;
  for (int i = 0; i < n; ++i)
    screens.push_back(e2e::LoadScreen(dir.File(std::to_string(i) + ".png")));
  return screens;
}

// Keys reach the game through the system's keyboard: the title shows the background, Space
// starts a round, typed letters lock falling ones (the gauge's first cell is taken), and Esc
// ends the game with the ranking saved; so does logging off or shutting down: on Linux the
// session's hang-up signal, where the end of the session is something else RAPIKO_END_SESSION
// is the command that ends it (under Wine: wineboot --end-session). Any build of the game runs
// it (RAPIKO_PROGRAM: the Windows one under Wine); the title's picture stays in
// RAPIKO_TITLE_SHOT when set, for a person to look at.
TEST(RealWindow, SpaceStartsARoundLettersLockAndEscOrTheSessionsEndSavesTheRanking) {
  // The cell at a round's start and with one letter locked.
  const auto shots =
      Shots("AAA\r\n", "press 57\ntick 16\ntick 16 300\nshot\ntype a\ntick 16\nshot\n");
  ASSERT_EQ(shots.size(), 2u);
  const Screen free = Cell(shots[0]), taken = Cell(shots[1]);
  ASSERT_NE(free, taken);
  for (const bool esc : {true, false}) {
    SCOPED_TRACE(esc ? "Esc" : "the end of the session");
    e2e::XSession x;
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    GameDir dir("AAA\r\n");  // every falling letter an A
    const auto background = Background(dir);
    x.StartGame(dir.Path(), {"--mute"}, dir.File("stderr.txt"));
    const char* titleShot = std::getenv("RAPIKO_TITLE_SHOT");
    const std::string shot = titleShot ? titleShot : dir.File("shot.png");
    ASSERT_TRUE(x.WaitForTitle(30000, shot)) << "no title screen: " << dir.Read("stderr.txt");
    const auto title = e2e::LoadScreen(shot);
    for (auto [px, py] : kBackgroundPoints)
      EXPECT_TRUE(At(title, px, py) == background(px, py)) << px << "," << py;
    x.Xdotool({"mousemove", "320", "240"});
    x.Xdotool({"key", "space"});
    ASSERT_FALSE(x.PollScreen(dir.File("shot.png"), 15000, Playing).empty()) << "no round";
    EXPECT_EQ(Cell(e2e::LoadScreen(dir.File("shot.png"))), free);
    if (esc) {
      // Letters come; a few As typed at once lock as many, for longer than a screenshot
      // takes while the shot flies to them.
      bool locked = false;
      for (int tries = 0; !locked && tries < 20; ++tries) {
        e2e::SleepMs(500);
        x.Xdotool({"key", "--delay", "30", "a", "a", "a", "a", "a", "a"});
        locked = !x.PollScreen(dir.File("shot.png"), 1000, [&](const Screen& s) {
                     return Cell(s) == taken;
                   }).empty();
      }
      EXPECT_TRUE(locked) << "no letter locked; see " << dir.File("shot.png");
      x.Xdotool({"key", "Escape"});
    } else if (const char* command = std::getenv("RAPIKO_END_SESSION")) {
      EXPECT_TRUE(x.Run(command)) << command;
    } else {
      x.SignalGame(SIGHUP);
    }
    EXPECT_EQ(x.WaitForExit(15000), std::optional<int>(0)) << "the game did not end";
    EXPECT_TRUE(dir.Exists("rapikosc.ini")) << "the ranking was not written";
    EXPECT_EQ(dir.Read("stderr.txt"), "");
  }
}

// Without the focus the round pauses; the click that gives it back does not quit, a later one
// does; and without a sound device the game plays silently, saying so once.
TEST(RealWindow, WithoutTheFocusTheRoundPausesAndTheFocusingClickDoesNotQuit) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir("CAT\r\nDOG\r\nEMU\r\nFOX\r\n");
  // A sound driver with no device (ALSA without any configured): the game says so in one
  // line and plays silently.
  dir.Write("no-alsa.conf", "");
  x.SetEnv("SDL_AUDIODRIVER", "alsa");
  x.SetEnv("ALSA_CONFIG_PATH", dir.File("no-alsa.conf"));
  x.StartGame(dir.Path(), {"--window"}, dir.File("stderr.txt"));
  const std::string shot = dir.File("shot.png");
  ASSERT_TRUE(x.WaitForTitle(15000, shot)) << "no title screen";
  x.Xdotool({"mousemove", "320", "240"});
  x.Xdotool({"key", "space"});
  ASSERT_FALSE(x.PollScreen(shot, 10000, Playing).empty()) << "no round";
  // What the pause does to the round is the golden games'; here the window's
  // focus reaches the game.
  ASSERT_TRUE(x.FocusAway());
  ASSERT_FALSE(x.PollScreen(shot, 5000, Paused).empty()) << "no pause panel";
  // The click that gives the window its focus back resumes the round.
  x.Xdotool({"click", "1"});
  auto resumed = x.PollScreen(shot, 5000, [](const auto& s) { return !Paused(s); });
  ASSERT_FALSE(resumed.empty()) << "still paused after the focusing click";
  EXPECT_TRUE(x.GameRunning()) << "the focusing click quit the game";
  // Once a click can no longer be the focusing one, a click quits as it always did.
  e2e::SleepMs(500);
  x.Xdotool({"click", "1"});
  EXPECT_EQ(x.WaitForExit(15000), std::optional<int>(0)) << "the game did not end on a click";
  EXPECT_TRUE(dir.Exists("rapikosc.ini")) << "the ranking was not written";
  const std::string err = dir.Read("stderr.txt");
  EXPECT_EQ(err.rfind("rapiko: no sound device (", 0), 0u) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("); playing without sound\n"), std::string::npos) << err;
}

// A 640 x 480 picture as a screen of w x h shows it: as large as it fits,
// centred, black around it, scaled by the game's own scaler.
Screen AsShown(const Screen& picture, int w, int h) {
  // The 8-bit frame again: a palette of the picture's colours.
  media::ScreenFormat format;
  std::map<uint32_t, uint8_t> index;
  std::vector<uint8_t> frame(picture.size());
  for (size_t i = 0; i < picture.size(); ++i) {
    const Pixel& p = picture[i];
    const uint32_t rgb = uint32_t{p.r} << 16 | uint32_t{p.g} << 8 | p.b;
    const auto [at, added] = index.emplace(rgb, static_cast<uint8_t>(index.size()));
    format.lut[at->second] = rgb;
    frame[i] = at->second;
  }
  std::vector<uint8_t> screen(static_cast<size_t>(w) * h * 4, 0);
  media::FrameScaler scaler(640, 480, media::PlacePicture(640, 480, w, h));
  scaler.Convert(frame.data(), {0, 0, 640, 480}, format, screen.data(), w * 4);
  Screen out(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = {screen[4 * i + 2], screen[4 * i + 1], screen[4 * i]};
  }
  return out;
}

// A window is as large as the desktop holds in the picture's shape (here 1024 x 768 on
// 1366 x 768, no window manager), again after Alt+Enter went full screen (there the picture
// fills the height at a fractional scale) and back; dragged to another size, the picture
// follows it. Each time the screen shows exactly the scaler's picture.
TEST(RealWindow, AWindowFitsTheDesktopAfterAltEnterTooAndAResizedOneFollows) {
  constexpr int kScreenW = 1366, kScreenH = 768;
  // The title as a scripted run draws it, for a game folder with the default words and no
  // ranking; from the second frame on (the title bar's outline takes the colour the frame before
  // left).
  const auto shots = Shots("CAT\r\nDOG\r\nEMU\r\n", "tick 16 2\nshot\n");
  ASSERT_EQ(shots.size(), 1u);
  const Screen& title = shots[0];
  ASSERT_EQ(title.size(), 640u * 480u);
  e2e::XSession x(kScreenW, kScreenH);
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir;
  x.StartGame(dir.Path(), {"--window"});
  ASSERT_TRUE(x.WaitForWindow(15000)) << "no window";
  const std::string path = dir.File("shot.png");
  // The window takes the place g, and shows the title there as the scaler makes it.
  const auto fits = [&](const std::array<int, 4>& g, bool shown = true) {
    auto now = x.WindowGeometry();
    for (int tries = 0; tries < 50 && now != g; ++tries, e2e::SleepMs(100))
      now = x.WindowGeometry();
    EXPECT_EQ(now, g);
    const Screen expected = AsShown(title, g[2], g[3]);
    EXPECT_TRUE(!shown || !x.PollScreen(path, 10000,
                                        [&](const Screen& s) {
                                          return Part(s, g[0], g[1], g[2], g[3], kScreenW) ==
                                                 expected;
                                        })
                               .empty())
        << g[2] << "x" << g[3] << ": not the scaled title; see " << path;
  };
  fits({171, 0, 1024, 768});
  x.Xdotool({"mousemove", "683", "384"});
  x.Xdotool({"key", "alt+Return"});
  fits({0, 0, kScreenW, kScreenH});
  x.Xdotool({"key", "alt+Return"});
  fits({171, 0, 1024, 768}, false);

  // Resized to 1200 x 700 at the screen's corner: the picture 933 x 700 in
  // the middle of the window, black at its sides.
  x.Xdotool({"search", "--onlyvisible", "--name", "Rapiko", "windowmove", "0", "0"});
  x.Xdotool({"search", "--onlyvisible", "--name", "Rapiko", "windowsize", "1200", "700"});
  fits({0, 0, 1200, 700});
  x.Xdotool({"key", "Escape"});
  EXPECT_TRUE(x.WaitForExit(15000).has_value());
}

// A replay waits for its recording's pace on the window's messages and looks for signals as it
// waits: Esc, a click and TERM end even a pass of 2^31 - 1 ms at once. (A close request takes a
// click's way; this xdotool cannot send one.) The exit's wait only guards against a hang.
TEST(RealWindow, AReplayInALongPassEndsAtOnceOnEscAClickOrTerm) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir("AAA\r\n");
  dir.Write("long.script", "tick 16\ntick 2147483647\n");
  for (const std::string way : {"Escape", "click", "TERM"}) {
    x.StartGame(dir.Path(), {"--replay", dir.File("long.script")});
    ASSERT_TRUE(x.WaitForTitle(15000, dir.File("shot.png"))) << way << ": no replay shown";
    e2e::SleepMs(500);  // the first pass' message step is over: the long pass waits
    if (way == "TERM") {
      x.SignalGame(SIGTERM);
    } else if (way == "click") {
      x.Xdotool({"mousemove", "320", "240", "click", "1"});
    } else {
      x.Xdotool({"key", way});
    }
    ASSERT_EQ(x.WaitForExit(20000), std::optional<int>(0)) << way << " did not end the replay";
  }
}

}  // namespace
