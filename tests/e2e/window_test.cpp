// The real window under Xvfb: the background full screen, Space starts a
// round, the pause without the focus, the focusing click, a mouse click ends
// the game and writes the ranking; silence without a sound device;
// --window fitting the desktop, Alt+Enter and a resized window kept sharp and
// letterboxed; and a whole round typed on several layouts, recorded and replayed.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "e2e/xsession.h"
#include "media/surface.h"
#include "support/script_run.h"

namespace {

using e2e::At;
using e2e::Pixel;
using testing_support::GameDir;

// The status box's dark purple frame shows during a round.
bool Playing(const std::vector<Pixel>& s) { return At(s, 2, 2) == Pixel{102, 0, 51}; }

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

// Points away from the title panel, where the screen is the background.
const std::pair<int, int> kBackgroundPoints[] = {{600, 20},  {500, 100}, {630, 470},
                                                 {400, 150}, {0, 0},     {639, 479}};

// The pause panel: pale pink inside a dark purple frame, mid-field.
bool Paused(const std::vector<Pixel>& s) {
  return At(s, 260, 240) == Pixel{102, 0, 51} && At(s, 270, 250) == Pixel{255, 230, 230};
}

TEST(RealWindow, ShowsTheBackgroundStartsARoundAndQuitsOnAClick) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  GameDir dir;
  const auto background = Background(dir);
  // A sound driver with no device (ALSA without any configured): the game
  // says so in one line and plays silently.
  dir.Write("no-alsa.conf", "");
  x.SetEnv("SDL_AUDIODRIVER", "alsa");
  x.SetEnv("ALSA_CONFIG_PATH", dir.File("no-alsa.conf"));
  x.StartGame(dir.Path(), {}, dir.File("stderr.txt"));
  const std::string shot = dir.File("shot.png");
  ASSERT_TRUE(x.WaitForTitle(15000, shot)) << "no title screen";
  // Full screen, unscaled at 640 x 480: the background pixel for pixel.
  const auto title = e2e::LoadScreen(shot);
  for (auto [px, py] : kBackgroundPoints)
    EXPECT_TRUE(At(title, px, py) == background(px, py)) << px << "," << py;

  x.Xdotool({"mousemove", "320", "240"});
  x.Xdotool({"key", "space"});
  ASSERT_FALSE(e2e::PollScreen(x, shot, 10000, Playing).empty()) << "no round";
  x.Xdotool({"click", "1"});
  auto status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value()) << "the game did not end on a click";
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(dir.Exists("rapikosc.ini")) << "the ranking was not written";
  const std::string err = dir.Read("stderr.txt");
  EXPECT_EQ(err.rfind("rapiko: no sound device (", 0), 0u) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("); playing without sound\n"), std::string::npos) << err;
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
  // What the pause does to the round is the golden games'; here the window's
  // focus reaches the game.
  ASSERT_TRUE(x.FocusAway());
  ASSERT_FALSE(e2e::PollScreen(x, shot, 5000, Paused).empty()) << "no pause panel";
  // The click that gives the window its focus back resumes the round.
  x.Xdotool({"click", "1"});
  auto resumed = e2e::PollScreen(x, shot, 5000, [](const auto& s) { return !Paused(s); });
  ASSERT_FALSE(resumed.empty()) << "still paused after the focusing click";
  EXPECT_TRUE(x.GameRunning()) << "the focusing click quit the game";
  // Once a click can no longer be the focusing one, a click quits as it always did.
  e2e::SleepMs(500);
  x.Xdotool({"click", "1"});
  auto status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value()) << "the game did not end on a click";
  EXPECT_EQ(*status, 0);
}

TEST(RealWindow, AWindowFitsTheDesktopAfterAltEnterTooAndAResizedOneStaysSharpAndLetterboxed) {
  constexpr int kScreenW = 1600, kScreenH = 1200;
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
  ASSERT_EQ(x.WindowGeometry(), (std::array<int, 4>{0, 0, 1500, 1100}));
  const auto shot = x.Screenshot(dir.File("resized.png"));
  ASSERT_EQ(shot.size(), size_t{kScreenW} * kScreenH);
  auto at = [&](int px, int py) { return At(shot, px, py, kScreenW); };
  constexpr int kLeft = 110, kTop = 70;  // (1500 - 1280) / 2, (1100 - 960) / 2
  int notBlack = 0, blurred = 0;
  for (int py = 0; py < 1100; ++py) {
    for (int px = 0; px < 1500; ++px) {
      const bool inside = px >= kLeft && px < kLeft + 1280 && py >= kTop && py < kTop + 960;
      if (!inside) notBlack += (at(px, py) != Pixel{});
      // Sharp: each picture pixel is a 2 x 2 square of one colour.
      if (inside && (px - kLeft) % 2 == 0 && (py - kTop) % 2 == 0) {
        const Pixel p = at(px, py);
        blurred += !(at(px + 1, py) == p && at(px, py + 1) == p && at(px + 1, py + 1) == p);
      }
    }
  }
  EXPECT_EQ(notBlack, 0) << "the letterbox is black";
  EXPECT_EQ(blurred, 0);
  // ...and away from the title panel it is the background picture.
  const auto background = Background(dir);
  for (auto [px, py] : kBackgroundPoints)
    EXPECT_TRUE(at(kLeft + 2 * px, kTop + 2 * py) == background(px, py)) << px << "," << py;
  x.Xdotool({"key", "Escape"});
  EXPECT_TRUE(x.WaitForExit(15000).has_value());
}

// The rounds of a history file, each from its score on (without the date and time).
std::vector<std::string> HistoryRounds(const std::string& history) {
  std::vector<std::string> rounds;
  std::istringstream lines(history);
  std::string line;
  std::getline(lines, line);  // the header
  while (std::getline(lines, line)) rounds.push_back(line.substr(line.find(',', 11) + 1));
  return rounds;
}

// A whole round on a French keyboard: xdotool types the falling letters by
// character and fires; in name entry the same name is typed on each layout
// in turn. The round is recorded too: the recording replays headless to the
// same ranking and history, and --replay shows it until Esc, saving nothing.
TEST(RealWindow, AWholeRoundTypedByXdotoolScoresAndReplays) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  // One word only, so every falling letter is an A; on AZERTY the key that
  // types it is where a US keyboard has Q.
  GameDir dir("AAA\r\n");
  ASSERT_TRUE(x.SetLayout("fr"));
  const std::string recording = dir.File("round.script");
  x.StartGame(dir.Path(), {"--record", recording});
  ASSERT_TRUE(x.WaitForWindow(15000)) << "no window";
  x.Xdotool({"mousemove", "320", "240"});
  // The recording notes the round's start: Space again until it does (a
  // busy machine may map the window before it reads keys).
  for (int tries = 0; dir.Read("round.script").find("# round 1") == std::string::npos; ++tries) {
    ASSERT_LT(tries, 40) << "the round did not start";
    if (tries % 10 == 0) x.Xdotool({"key", "space"});
    e2e::SleepMs(200);
  }
  const auto start = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  // Let a few letters come, then lock one and fire, a little slower than
  // they spawn, so a key always finds a letter.
  e2e::SleepMs(3000);
  while (seconds() < 118) {
    x.Xdotool({"key", "a"});
    e2e::SleepMs(150);
    x.Xdotool({"key", "space"});
    e2e::SleepMs(550);
  }
  while (seconds() < 123) e2e::SleepMs(100);
  // The result beats the empty ranking: name entry. The same name typed on
  // each layout, switched while the game runs, shows as the same name: the
  // screen a script draws for it.
  GameDir scripted("");
  const auto r = testing_support::RunScript(
      scripted, "tick 16\npress 57\ntick 16\ntick 60001 2\ntype azqwym-2\ntick 16\nscreenshot " +
                    scripted.File("entry.png"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto expected = e2e::LoadScreen(scripted.File("entry.png"));
  ASSERT_EQ(expected.size(), 640u * 480u);
  for (const char* layout : {"fr", "de", "dvorak", "us"}) {
    ASSERT_TRUE(x.SetLayout(layout));
    x.Xdotool({"key", "--delay", "20", "BackSpace", "BackSpace", "BackSpace", "BackSpace",
               "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace"});
    x.Xdotool({"key", "--delay", "40", "a", "z", "q", "w", "y", "m", "minus", "2"});
    EXPECT_FALSE(e2e::PollScreen(x, dir.File("entry.png"), 8000,
                                 [&](const auto& s) { return s == expected; })
                     .empty())
        << layout << ": the name typed is not AZQWYM-2; see " << dir.File("entry.png");
  }
  x.Xdotool({"key", "Return"});
  e2e::SleepMs(500);
  x.Xdotool({"click", "1"});
  auto status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0);
  // The name heads the ranking (name entry came, so the score beat the
  // empty ranking), and the round is in the history once.
  const std::string ranking = dir.Read("rapikosc.ini");
  EXPECT_EQ(ranking.rfind("\"AZQWYM-2\"\r\n\"AZQWYM-2\"\r\n", 0), 0u) << ranking;
  const std::string history = dir.Read("rapiko-history.csv");
  const std::vector<std::string> rounds = HistoryRounds(history);
  ASSERT_EQ(rounds.size(), 1u) << history;

  GameDir again("AAA\r\n");
  const auto replayed = testing_support::RunScript(again, dir.Read("round.script"));
  ASSERT_EQ(replayed.exitCode, 0) << replayed.err;
  EXPECT_EQ(again.Read("rapikosc.ini"), ranking);
  EXPECT_EQ(HistoryRounds(again.Read("rapiko-history.csv")), rounds) << "the same counts";

  x.StartGame(dir.Path(), {"--replay", recording});
  ASSERT_TRUE(x.WaitForWindow(15000)) << "no replay window";
  e2e::SleepMs(3000);
  x.Xdotool({"key", "Escape"});
  status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value()) << "the replay did not stop on Esc";
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(dir.Read("rapikosc.ini"), ranking) << "a replay saves nothing";
  EXPECT_EQ(dir.Read("rapiko-history.csv"), history);
}

}  // namespace
