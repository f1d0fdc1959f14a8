// Core pieces on their own: the folder path, the clock difference, the
// command line and the round reset.
#include <gtest/gtest.h>

#include "app/cli.h"
#include "game/lifecycle.h"
#include "game/title.h"
#include "support/fakes.h"

namespace {

TEST(MyPath, EndsInExactlyOneSeparator) {
  EXPECT_EQ(game::MyPath("/games/rapiko"), "/games/rapiko/");
  EXPECT_EQ(game::MyPath("/"), "/");
  EXPECT_EQ(game::MyPath("/games/rapiko/"), "/games/rapiko/");
  EXPECT_EQ(game::MyPath("."), "./");
}

TEST(ElapsedMs, WrapAroundDifference) {
  EXPECT_EQ(game::ElapsedMs(116, 100), 16);
  EXPECT_EQ(game::ElapsedMs(100, 100), 0);
  // Across 2^31, where a signed subtraction would overflow.
  EXPECT_EQ(game::ElapsedMs(0x80000005u, 0x7FFFFFF0u), 21);
  // Across 2^32.
  EXPECT_EQ(game::ElapsedMs(5u, 0xFFFFFFF0u), 21);
  // A clock that went back gives a negative difference, as before.
  EXPECT_EQ(game::ElapsedMs(100, 116), -16);
}

TEST(CommandLine, ParsesEveryOption) {
  std::string error;
  auto o = app::ParseCommandLine({"--window", "--scale", "3", "--dir", "/x"}, error);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->window);
  EXPECT_EQ(o->scale, 3);
  EXPECT_EQ(o->dir, "/x");

  o = app::ParseCommandLine({"--scale", "2"}, error);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->window);

  o = app::ParseCommandLine({"--headless", "--script", "-"}, error);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->headless);
  EXPECT_EQ(o->script, "-");

  o = app::ParseCommandLine({}, error);
  ASSERT_TRUE(o);
  EXPECT_FALSE(o->window);
  EXPECT_FALSE(o->headless);
}

TEST(CommandLine, RejectsFaultsWithAMessage) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"--scale"},
                                                                {"--scale", "9"},
                                                                {"--scale", "x"},
                                                                {"--dir"},
                                                                {"--dir", ""},
                                                                {"--headless"},
                                                                {"--script", "a"},
                                                                {"-x"},
                                                                {"play"}}) {
    std::string error;
    EXPECT_FALSE(app::ParseCommandLine(args, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(ResetRound, SetsExactlyItsFields) {
  testing_support::Rig rig;
  state::GameState& g = rig.g;
  g.gameMode = 0;
  g.quitRequested = false;
  g.level = 9;
  g.maxLevel = 12;
  g.ringHead = 40;
  g.ringTail = 50;
  g.score = 777;
  g.combo = 4;
  g.hitCount = 8;
  g.roundTime = 4321;
  g.entryDone = true;
  g.entryName = "NAME";
  g.rankKeys[3] = 99;
  g.rankNames[3] = "R";
  for (int i = 0; i <= 8; ++i) {
    g.lockQueue[i] = static_cast<int16_t>(10 + i);
    g.popups[i] = {1.5, 2.5, 100, 7};
  }
  g.lockTail = 3;
  g.lockHead = 2;
  g.lockCount = 1;
  g.shotActive = true;
  for (auto& t : g.targets) t = {5.0, 6.0, -150.0, 30};
  for (auto& p : g.shotTrail) p = {11.0, 12.0};
  g.pacing.wordIndex = 5;
  g.pacing.spawnClock = -300;
  g.wordCount = 2;

  game::ResetRound(g);

  EXPECT_EQ(g.level, 3);
  EXPECT_EQ(g.maxLevel, 3);
  EXPECT_EQ(g.ringHead, 1);
  EXPECT_EQ(g.ringTail, 1);
  EXPECT_EQ(g.score, 0);
  EXPECT_EQ(g.combo, 0);
  EXPECT_EQ(g.hitCount, 0);
  EXPECT_FALSE(g.entryDone);
  EXPECT_EQ(g.lockTail, 0);
  EXPECT_EQ(g.lockHead, 0);
  EXPECT_EQ(g.lockCount, 0);
  EXPECT_FALSE(g.shotActive);
  for (int i = 0; i <= 7; ++i) {
    EXPECT_EQ(g.lockQueue[i], 0);
    EXPECT_EQ(g.popups[i].x, 0.0);
    EXPECT_EQ(g.popups[i].y, 0.0);
    EXPECT_EQ(g.popups[i].timeLeft, 0);
    EXPECT_EQ(g.popups[i].points, 7) << "points are left alone";
  }
  // Slot 8 of the queue and the pop-ups is not part of the reset.
  EXPECT_EQ(g.lockQueue[8], 18);
  EXPECT_EQ(g.popups[8].timeLeft, 100);
  for (const auto& t : g.targets) {
    EXPECT_EQ(t.x, 0.0);
    EXPECT_EQ(t.y, 0.0);
    EXPECT_EQ(t.vx, 0.0);
    EXPECT_EQ(t.keyCode, 0);
  }
  // Left alone.
  EXPECT_EQ(g.gameMode, 0);
  EXPECT_EQ(g.roundTime, 4321);
  EXPECT_EQ(g.entryName, "NAME");
  EXPECT_EQ(g.rankKeys[3], 99);
  EXPECT_EQ(g.rankNames[3], "R");
  EXPECT_EQ(g.shotTrail[4].x, 11.0);
  EXPECT_EQ(g.pacing.wordIndex, 5);
  EXPECT_EQ(g.pacing.spawnClock, -300);
  EXPECT_EQ(g.wordCount, 2);
  EXPECT_TRUE(rig.draws.empty());
  EXPECT_TRUE(rig.sounds.empty());
}

}  // namespace
