// A whole round in the real window under Xvfb: xdotool types the falling
// letters and fires; the result reaches the ranking file.
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/xsession.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;

// The round is recorded too: the recording replays headless to the same
// ranking file, and --replay shows it until Esc, saving nothing.
TEST(RealWindow, AWholeRoundTypedByXdotoolScoresAndReplays) {
  e2e::XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  // One word only, so every falling letter is an A.
  GameDir dir("AAA\r\n");
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
  // The result beats the empty ranking: name entry; Enter enters it.
  x.Xdotool({"key", "Return"});
  e2e::SleepMs(500);
  x.Xdotool({"click", "1"});
  auto status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0);
  const std::string ranking = dir.Read("rapikosc.ini");
  // Line 3 is the first place's key: level, highest level, score.
  size_t at = 0;
  for (int line = 0; line < 2; ++line) at = ranking.find('\n', at) + 1;
  const long key = std::stol(ranking.substr(at));
  EXPECT_GT(key % 100000, 0) << ranking;

  GameDir again("AAA\r\n");
  const auto replayed = testing_support::RunScript(again, dir.Read("round.script"));
  ASSERT_EQ(replayed.exitCode, 0) << replayed.err;
  EXPECT_EQ(again.Read("rapikosc.ini"), ranking);

  x.StartGame(dir.Path(), {"--replay", recording});
  ASSERT_TRUE(x.WaitForWindow(15000)) << "no replay window";
  e2e::SleepMs(3000);
  x.Xdotool({"key", "Escape"});
  status = x.WaitForExit(15000);
  ASSERT_TRUE(status.has_value()) << "the replay did not stop on Esc";
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(dir.Read("rapikosc.ini"), ranking) << "a replay saves nothing";
}

}  // namespace
