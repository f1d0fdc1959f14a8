// Start-up, the main loop's clock and shutdown, through headless runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "support/script_run.h"
#include "support/test_files.h"

namespace {

using testing_support::GameDir;
using testing_support::RunScript;

// A back.bmp of the given size and depth, as file bytes.
std::string Picture(int32_t width, int32_t height, uint16_t bits) {
  const auto bytes = test_files::Bmp(
                         width, height, [](int32_t, int32_t) { return 1; }, bits)
                         .Bytes();
  return std::string(bytes.begin(), bytes.end());
}

void ExpectStartFails(const GameDir& dir, const std::string& mention) {
  auto r = RunScript(dir, "tick 16\nstate\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_NE(r.err.find("back.bmp"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
  EXPECT_FALSE(dir.Exists("rapikosc.ini"));
}

TEST(StartUp, BackgroundPictureProblemsStopWithOneLine) {
  {
    GameDir dir;
    dir.Remove("back.bmp");
    ExpectStartFails(dir, "");
  }
  {
    GameDir dir;
    dir.Write("back.bmp", "this is not a picture at all");
    ExpectStartFails(dir, "");
  }
  {
    GameDir dir;
    dir.Write("back.bmp", Picture(320, 200, 8));
    ExpectStartFails(dir, "320");
  }
  {
    GameDir dir;
    dir.Write("back.bmp", Picture(640, 480, 24));
    ExpectStartFails(dir, "24");
  }
  {
    GameDir dir;
    dir.Write("back.bmp", Picture(640, 480, 8).substr(0, 5000));
    ExpectStartFails(dir, "");
  }
}

TEST(StartUp, StartValuesAndAbsentFiles) {
  GameDir dir("");
  auto r = RunScript(dir, "start 1234\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto s = r.States().at(0);
  EXPECT_EQ(s["gameMode"], 0);
  EXPECT_EQ(s["quitRequested"], false);
  EXPECT_EQ(s["level"], 3);
  EXPECT_EQ(s["maxLevel"], 3);
  EXPECT_EQ(s["score"], 0);
  EXPECT_EQ(s["ringHead"], 1);
  EXPECT_EQ(s["ringTail"], 1);
  EXPECT_EQ(s["lockCount"], 0);
  EXPECT_EQ(s["wordCount"], 0);
  EXPECT_EQ(s["letterCount"], 0);
  EXPECT_EQ(s["roundTime"], 0);
  EXPECT_EQ(s["entryName"], "");
  EXPECT_EQ(s["targets"].size(), 101u);
  EXPECT_EQ(s["lockQueue"].size(), 9u);
  EXPECT_EQ(s["shotTrail"].size(), 11u);
  EXPECT_EQ(s["popups"].size(), 9u);
  EXPECT_EQ(s["words"].size(), 101u);
  EXPECT_EQ(s["wordStart"].size(), 101u);
  EXPECT_EQ(s["letterKeys"].size(), 1001u);
  EXPECT_EQ(s["rankKeys"].size(), 10u);
  EXPECT_EQ(s["rankNames"].size(), 10u);
  EXPECT_EQ(s["pacing"]["wordIndex"], 0);
  EXPECT_TRUE(s["sounds"].empty());
}

// Starts a round in the second pass; the third pass is the first of play.
const char* kStartRound = "press 57\ntick 16\n";

TEST(MainLoop, ElapsedTimeIsRightWhereTheCounterCrossesTwoToThe31) {
  GameDir dir("");
  auto r = RunScript(
      dir, std::string("start 2147483600\n") + kStartRound + "tick 30\nstate\ntick 40\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto s = r.States();
  EXPECT_EQ(s[0]["tickCount"], 2147483646);
  EXPECT_EQ(s[0]["roundTime"], 30);
  EXPECT_EQ(s[1]["tickCount"], -2147483610);
  EXPECT_EQ(s[1]["roundTime"], 70);
}

TEST(MainLoop, ElapsedTimeIsRightWhereTheCounterWrapsToZero) {
  GameDir dir("");
  auto r = RunScript(dir, std::string("start 4294967290\n") + kStartRound + "tick 20\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["tickCount"], 30);
  EXPECT_EQ(r.States()[0]["roundTime"], 20);
}

TEST(MainLoop, FirstPassGetsTheTimeSinceStartUp) {
  GameDir dir("");
  auto r = RunScript(dir, std::string(kStartRound) + "tick 0\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["gameMode"], 1);
  EXPECT_EQ(r.States()[0]["roundTime"], 0);
}

TEST(MainLoop, ClickDuringARoundQuitsWithoutEnteringTheResult) {
  GameDir dir("");
  std::string ranking = "\"OLD\"\r\n";
  for (int i = 0; i < 10; ++i)
    ranking += "\"P" + std::to_string(i) + "\"\r\n" + std::to_string(100 - i) + "\r\n";
  dir.Write("rapikosc.ini", ranking);
  auto r =
      RunScript(dir, std::string(kStartRound) + "tick 1000 5\nclick\ntick 16\nstate\ntick 16\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["quitRequested"], true);
  EXPECT_EQ(r.States()[0]["gameMode"], 1);
  EXPECT_EQ(dir.Read("rapikosc.ini"), ranking);
}

TEST(MainLoop, EscOnTheTitleQuitsAfterTheFrame) {
  GameDir dir("");
  auto r = RunScript(dir, "press 1\ntick 16\nframe\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.Frames().size(), 1u);
  EXPECT_EQ(r.Frames()[0]["ops"].back()["op"], "flip");
  EXPECT_TRUE(r.States().empty());
  EXPECT_TRUE(dir.Exists("rapikosc.ini"));
}

}  // namespace

namespace {

TEST(StartUp, WithoutAWindowSystemTheGameSaysSoAndStops) {
  GameDir dir;
  std::vector<std::pair<std::string, std::string>> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    if (const char* v = std::getenv(name)) saved.emplace_back(name, v);
    unsetenv(name);
  }
  auto r = testing_support::RunBinary({"--dir", dir.Path()});
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("rapiko: no display"), std::string::npos) << r.err;
  EXPECT_FALSE(dir.Exists("rapikosc.ini"));
}

}  // namespace
