// The headless run's contract: command line, script errors (script_errors.txt), screenshots;
// start-up without a window system.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "ranking/ranking_file.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::RunBinary;
using testing_support::RunScript;

const std::string kEmptyRanking = ranking::RankingFileBytes(state::GameState{});

// What the program makes of its command line (each fault of the parser is the parser's own
// test), without a window system; only a finished script leaves a ranking.
TEST(CommandLine, HelpVersionFaultsNoDisplayAndScripts) {
  GameDir dir;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(name);
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;  // what each holds ("": nothing at all)
  } cases[] = {
      {{"--help"}, 0, "--headless --script FILE", ""},
      {{"--version"}, 0, "Rapiko ", ""},
      {{"--bogus"}, 2, "", "Usage:"},
      {{"--headless", "--script", "-", "--window"}, 2, "", "Usage:"},
      {{"--dir", dir.Path()}, 1, "", "rapiko: no display"},
      {{"--headless", "--script", dir.File("nope.txt"), "--dir", dir.Path()}, 2, "", "nope.txt"},
      {{"--headless", "--script", "-", "--dir", dir.Path()}, 0, "", ""},  // standard input
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(dir.Exists("rapikosc.ini"));
    const auto r = RunBinary(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << ": " << r.err;
    EXPECT_EQ(std::pair(r.out.empty(), r.err.empty()), std::pair(c.out.empty(), c.err.empty()));
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_EQ(dir.Read("rapikosc.ini"), kEmptyRanking);
}

// The script with its escapes read: \n, \xHH, \aN (N letters a), GAMEDIR.
std::string Unescaped(const std::string& text, const GameDir& dir) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 7, "GAMEDIR") == 0) {
      out += dir.Path();
      i += 6;
    } else if (text[i] != '\\') {
      out += text[i];
    } else if (text[++i] == 'n') {
      out += '\n';
    } else if (text[i] == 'x') {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      std::size_t digits = 0;
      out += std::string(std::stoul(text.substr(i + 1), &digits), 'a');
      i += digits;
    }
  }
  return out;
}

TEST(ScriptErrors, NameTheLineAndStopWithoutShutdown) {
  std::ifstream cases(std::string(RAPIKO_SOURCE_DIR) + "/tests/script/script_errors.txt");
  const std::string keep = "\"KEEP" + kEmptyRanking.substr(1);
  int read = 0;
  for (std::string row; std::getline(cases, row);) {
    if (row.empty() || row[0] == '#') continue;
    GameDir dir;
    dir.Write("rapikosc.ini", keep);
    const std::size_t tab = row.find('\t');
    const std::string script = Unescaped(row.substr(0, tab), dir);
    const std::string message = Unescaped(row.substr(tab + 1), dir) + "\n";
    const auto r = RunScript(dir, script);
    EXPECT_EQ(r.exitCode, 2) << script;
    EXPECT_EQ(r.err.substr(0, message.size() - 1) + "\n", message) << script;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(dir.Read("rapikosc.ini"), keep) << script;
    ++read;
  }
  EXPECT_GT(read, 25);
}

// A screenshot is a PNG; a file that cannot be made, or not written whole, is a script error;
// nothing but a plain file is written over, and a FIFO is never waited on. A line of the
// longest length is still a line.
TEST(ScriptScreenshot, WritesAPngOrSaysWhyNot) {
  GameDir dir;
  auto r = RunScript(dir, "tick 16\nscreenshot " + dir.File("shot one.png") + " \t\n#" +
                              std::string(65535, 'a') + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(dir.Read("shot one.png").substr(0, 4), "\x89PNG");
  mkfifo(dir.File("fifo").c_str(), 0644);
  for (const std::string& path :
       {dir.File("no/such/folder/x.png"), std::string("/dev/full"), dir.File("fifo")}) {
    auto bad = RunScript(dir, "tick 16\nscreenshot " + path + "\n");
    EXPECT_EQ(bad.exitCode, 2) << path;
    EXPECT_EQ(bad.err.rfind("script line 2: screenshot: " + path + ": cannot write: ", 0), 0u)
        << bad.err;
  }
}

}  // namespace
