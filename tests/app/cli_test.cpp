// The command line: what each option sets, and the faults refused (the cases: command_lines.txt).
#include "app/cli.h"

#include <gtest/gtest.h>

#include "support/case_file.h"

namespace {

// The fields an option line sets, as one string.
std::string Flags(const app::Options& o) {
  return std::string(o.window ? "window " : "") + (o.headless ? "headless " : "") +
         (o.keysByPosition ? "position " : "") + (o.mute ? "mute " : "") +
         (o.stats ? "stats " : "") + (o.allLists ? "all-lists " : "") +
         (o.words.empty() ? "" : "words " + o.words + " ") + (o.practice ? "practice " : "") +
         "scale " + std::to_string(o.scale) + (o.dir.empty() ? "" : " dir " + o.dir) +
         (o.script.empty() ? "" : " script " + o.script) +
         (o.online.empty() ? "" : " online " + o.online);
}

TEST(CommandLine, ParsesEveryOptionAndRefusesFaults) {
  const auto rows = testing_support::CaseRows("app/command_lines.txt");
  EXPECT_GT(rows.size(), 25u);
  for (const std::vector<std::string>& f : rows) {  // the line, what it sets
    std::istringstream in(f[0]);
    std::vector<std::string> args;
    for (std::string a; in >> a;) args.push_back(a == "''" ? "" : a);
    std::string error;
    const auto o = app::ParseCommandLine(args, error);
    const std::string expected = f.size() > 1 ? f[1] : "";
    const bool said = expected.starts_with("refused: ");  // the row names the line said too
    EXPECT_EQ(o      ? Flags(*o)
              : said ? "refused: " + error
                     : "refused",
              expected)
        << f[0] << ": " << error;
    EXPECT_EQ(error.empty(), bool(o)) << f[0];
  }
}

}  // namespace
