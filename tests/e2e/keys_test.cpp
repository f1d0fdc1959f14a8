// Keys by the character they type in the real window, on us, fr, de and dvorak
// layouts set before the game starts or switched while it runs; and by place
// with --keys position.
#include <gtest/gtest.h>

#include "e2e/xsession.h"
#include "support/script_run.h"

namespace {

using e2e::At;
using e2e::Pixel;
using testing_support::GameDir;

// One word, so the letters fall in a known order: letters whose keys move
// between the four layouts, '-' (unshifted on fr, on other keys elsewhere)
// and a digit (shifted on fr). Eight letters fill the lock queue.
const std::string kWord = "AZQWYM-2";
const std::string kTyped = "azqwym-2";

// What the typing left on the screen: the status box's level line and the
// lock gauge. A wrong key lowers the level; a lock fills a gauge cell.
bool SameResult(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
  for (int y = 4; y < 20; ++y)
    for (int x = 4; x < 100; ++x)
      if (!(At(a, x, y) == At(b, x, y))) return false;
  for (int y = 200; y < 200 + 8 * 18; ++y)
    for (int x = 12; x < 44; ++x)
      if (!(At(a, x, y) == At(b, x, y))) return false;
  return true;
}

// The same round typed right through a script: the picture to expect.
std::vector<Pixel> Expected() {
  GameDir dir(kWord + "\r\n");
  const std::string path = dir.File("expected.png");
  auto r = testing_support::RunScript(
      dir, "tick 16\npress 57\ntick 16 200\ntype " + kTyped + "\ntick 16\nscreenshot " + path);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return e2e::LoadScreen(path);
}

bool Playing(const std::vector<Pixel>& s) { return At(s, 2, 2) == Pixel{102, 0, 51}; }

// Starts a round, types the word by character once all of it has fallen into
// view, and waits for the screen to show it locked at the starting level.
void TypeTheWord(e2e::XSession& x, const GameDir& dir, const std::vector<Pixel>& expected,
                 const std::vector<std::string>& keys) {
  x.Xdotool({"mousemove", "320", "240"});
  x.Xdotool({"key", "space"});
  ASSERT_FALSE(e2e::PollScreen(x, dir.File("shot.png"), 10000, Playing).empty()) << "no round";
  // The letters come one every 0.3 s of the game's clock and take 15 s to
  // fall: after 3 s the whole word is on the field, well before it lands.
  e2e::SleepMs(3000);
  std::vector<std::string> args = {"key", "--delay", "40"};
  args.insert(args.end(), keys.begin(), keys.end());
  ASSERT_TRUE(x.Xdotool(args));
  auto screen = e2e::PollScreen(x, dir.File("shot.png"), 8000,
                                [&](const auto& s) { return SameResult(s, expected); });
  EXPECT_FALSE(screen.empty()) << "the word did not lock; last screen in " << dir.File("shot.png");
  x.Xdotool({"key", "Escape"});
  auto status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0);
}

// xdotool key names of the characters of kTyped.
const std::vector<std::string> kTypedKeys = {"a", "z", "q", "w", "y", "m", "minus", "2"};

class Layout : public ::testing::TestWithParam<std::string> {};

TEST_P(Layout, TypedCharactersLockTheirLettersWhetherSetBeforeOrDuringTheGame) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  const std::vector<Pixel> expected = Expected();
  ASSERT_EQ(expected.size(), 640u * 480u);
  const std::string layout = GetParam();
  for (bool before : {true, false}) {
    SCOPED_TRACE(before ? "set before start" : "switched while running");
    ASSERT_TRUE(x.SetLayout(before ? layout : (layout == "us" ? "fr" : "us")));
    GameDir dir(kWord + "\r\n");
    x.StartGame(dir.Path());
    ASSERT_TRUE(x.WaitForTitle(15000, dir.File("shot.png"))) << "no title screen";
    if (!before) {
      ASSERT_TRUE(x.SetLayout(layout));
    }
    TypeTheWord(x, dir, expected, kTypedKeys);
  }
}

INSTANTIATE_TEST_SUITE_P(E2e, Layout, ::testing::Values("us", "fr", "de", "dvorak"));

TEST(KeysByPosition, TheKeysInTheUsPlacesLockOnAnyLayout) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  const std::vector<Pixel> expected = Expected();
  ASSERT_TRUE(x.SetLayout("fr"));
  GameDir dir(kWord + "\r\n");
  x.StartGame(dir.Path(), {"--keys", "position"});
  ASSERT_TRUE(x.WaitForTitle(15000, dir.File("shot.png"))) << "no title screen";
  // On AZERTY these characters sit where a US keyboard has a z q w y m - 2.
  TypeTheWord(x, dir, expected, {"q", "w", "a", "z", "y", "comma", "parenright", "eacute"});
}

}  // namespace
