// Core pieces on their own: the folder path, the clock difference and the
// command line.
#include <gtest/gtest.h>

#include "app/cli.h"
#include "game/lifecycle.h"

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

  o = app::ParseCommandLine({"--keys", "position", "--mute"}, error);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->keysByPosition);
  EXPECT_TRUE(o->mute);

  o = app::ParseCommandLine({"--headless", "--script", "-", "--practice"}, error);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->practice);

  o = app::ParseCommandLine({"--stats", "--dir", "/x"}, error);
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->stats);

  o = app::ParseCommandLine({}, error);
  ASSERT_TRUE(o);
  EXPECT_FALSE(o->window);
  EXPECT_FALSE(o->headless);
  EXPECT_FALSE(o->keysByPosition);
  EXPECT_FALSE(o->mute);
  EXPECT_FALSE(o->stats || o->practice);
}

TEST(CommandLine, RejectsFaultsWithAMessage) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--scale"},
                                             {"--scale", "9"},
                                             {"--scale", "x"},
                                             {"--dir"},
                                             {"--dir", ""},
                                             {"--headless"},
                                             {"--script", "a"},
                                             {"--stats", "--window"},
                                             {"-x"},
                                             {"--keys"},
                                             {"--keys", "qwerty"},
                                             {"--headless", "--script", "-", "--keys", "position"},
                                             {"play"}}) {
    std::string error;
    EXPECT_FALSE(app::ParseCommandLine(args, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
