// A whole round in the real window under Xvfb, on a French keyboard: xdotool
// types the falling letters by character and fires; in name entry the same
// name is typed on each layout in turn; the result reaches the ranking file.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/xsession.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;

// The name entry screen holding this name, as a script draws it.
std::vector<e2e::Pixel> NameEntryScreen(const std::string& typed) {
  GameDir dir("");
  const std::string path = dir.File("entry.png");
  auto r = testing_support::RunScript(dir, "tick 16\npress 57\ntick 16\ntick 60001 2\ntype " +
                                               typed + "\ntick 16\nscreenshot " + path);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return e2e::LoadScreen(path);
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

// The round is recorded too: the recording replays headless to the same
// ranking file, and --replay shows it until Esc, saving nothing.
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
  // each layout, switched while the game runs, shows as the same name.
  const auto expected = NameEntryScreen("azqwym-2");
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
