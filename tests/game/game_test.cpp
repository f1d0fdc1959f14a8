// Core pieces on their own: the folder path, the clock difference and the
// command line.
#include <gtest/gtest.h>

#include <sstream>

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

// The fields an option line sets, as one string.
std::string Flags(const app::Options& o) {
  return std::string(o.window ? "window " : "") + (o.headless ? "headless " : "") +
         (o.keysByPosition ? "position " : "") + (o.mute ? "mute " : "") +
         (o.stats ? "stats " : "") + (o.practice ? "practice " : "") + "scale " +
         std::to_string(o.scale) + " dir " + o.dir + " script " + o.script;
}

// Arguments are split at blanks; '' is an empty one.
std::optional<app::Options> Parse(const std::string& line, std::string& error) {
  std::istringstream in(line);
  std::vector<std::string> args;
  for (std::string a; in >> a;) args.push_back(a == "''" ? "" : a);
  return app::ParseCommandLine(args, error);
}

TEST(CommandLine, ParsesEveryOptionAndRejectsFaults) {
  for (const auto& [line, flags] :
       {std::pair{"--window --scale 3 --dir /x", "window scale 3 dir /x script "},
        {"--scale 2", "window scale 2 dir  script "},
        {"--headless --script - --practice", "headless practice scale 0 dir  script -"},
        {"--keys position --mute", "position mute scale 0 dir  script "},
        {"--stats --dir /x", "stats scale 0 dir /x script "},
        {"", "scale 0 dir  script "}}) {
    std::string error;
    const auto o = Parse(line, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(Flags(*o), flags);
  }
  for (const char* line : {"--scale", "--scale 0", "--scale 9", "--scale x", "--dir", "--dir ''",
                           "--headless", "--script a", "--stats --window", "-x", "--keys",
                           "--keys qwerty", "--headless --script - --keys position", "play"}) {
    std::string error;
    EXPECT_FALSE(Parse(line, error)) << line;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
