// The command line (the folder path and the clock difference are in every golden game).
#include "app/cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The fields an option line sets, as one string.
std::string Flags(const app::Options& o) {
  return std::string(o.window ? "window " : "") + (o.headless ? "headless " : "") +
         (o.keysByPosition ? "position " : "") + (o.mute ? "mute " : "") +
         (o.stats ? "stats " : "") + (o.allLists ? "all-lists " : "") +
         (o.words.empty() ? "" : "words " + o.words + " ") + (o.practice ? "practice " : "") +
         "scale " + std::to_string(o.scale) + " dir " + o.dir + " script " + o.script;
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
        {"--stats --words digits", "stats words digits scale 0 dir  script "},
        {"--all-lists --stats", "stats all-lists scale 0 dir  script "},
        {"", "scale 0 dir  script "}}) {
    std::string error;
    const auto o = Parse(line, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(Flags(*o), flags);
  }
  for (const char* line :
       {"--scale", "--scale 0", "--scale 9", "--scale x", "--dir", "--dir ''", "--headless",
        "--script a", "--stats --window", "-x", "--keys", "--all-lists",
        "--all-lists --words digits", "--stats --all-lists --words digits", "--stats --practice",
        "--keys qwerty", "--headless --script - --keys position", "play"}) {
    std::string error;
    EXPECT_FALSE(Parse(line, error)) << line;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
