// The headless run's contract: command line, grammar, errors, exit statuses; start-up without
// a window system.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

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
  std::vector<std::pair<std::string, std::string>> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    if (const char* v = std::getenv(name)) saved.emplace_back(name, v);
    unsetenv(name);
  }
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
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
  EXPECT_EQ(dir.Read("rapikosc.ini"), kEmptyRanking);
}

TEST(ScriptGrammar, ErrorsNameTheLineAndStopWithoutShutdown) {
  struct Case {
    std::string script;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"state\nbogus\n", "script line 2: unknown command 'bogus'"},
      {"tick 16\nstart 5\n", "script line 2: 'start' is only allowed as the first command"},
      {"start 1\nstart 2\n", "script line 2: 'start' is only allowed as the first command"},
      {"down 0\n", "script line 1: key code 0 out of range (1 to 255)"},
      {"down 256\n", "script line 1: key code 256 out of range (1 to 255)"},
      {"down 000000000000000000001\n",
       "script line 1: bad key code '000000000000000000001' (1 to 255)"},
      {"up 18446744073709551616\n",
       "script line 1: key code 18446744073709551616 out of range (1 to 255)"},
      {"up\n", "script line 1: 'up' takes 1 argument, got 0"},
      {"up 1 2\n", "script line 1: 'up' takes 1 argument, got 2"},
      {"press\n", "script line 1: 'press' needs at least one key code"},
      {"press 30 x\n", "script line 1: bad key code 'x': not a decimal number"},
      {"press 30 256\n", "script line 1: key code 256 out of range (1 to 255)"},
      {"press 255 0\n", "script line 1: key code 0 out of range (1 to 255)"},
      {"tick -1\n", "script line 1: bad milliseconds '-1': not a decimal number"},
      {"tick 2147483648\n",
       "script line 1: milliseconds 2147483648 out of range (0 to 2147483647)"},
      {"tick 1 2147483648\n",
       "script line 1: pass count 2147483648 out of range (0 to 2147483647)"},
      {"tick 16 1 2\n", "script line 1: 'tick' takes 1 or 2 arguments, got 3"},
      {"start\n", "script line 1: 'start' takes 1 argument, got 0"},
      {"start 4294967296\n", "script line 1: tick count 4294967296 out of range (0 to 4294967295)"},
      {"\n\ntype hello!\n", "script line 3: 'type' cannot type '!'"},
      {"type a\x01\n", "script line 1: 'type' cannot type byte 1"},
      {"type \x7f\n", "script line 1: 'type' cannot type byte 127"},
      {"state extra\n", "script line 1: 'state' takes 0 arguments, got 1"},
      {"frame 1 2\n", "script line 1: 'frame' takes 0 arguments, got 2"},
      {"screenshot\n", "script line 1: 'screenshot' needs a file name"},
      {"click now\n", "script line 1: 'click' takes 0 arguments, got 1"},
      {"focus\n", "script line 1: 'focus' takes 1 argument, got 0"},
      {"focus away\n", "script line 1: 'focus' takes 'in' or 'out', not 'away'"},
      // A line past the limit is never kept whole, nor echoed.
      {"tick 16\n# " + std::string(65536, 'a') + "\n", "script line 2: longer than 65536 bytes"},
  };
  const std::string keep = "\"KEEP" + kEmptyRanking.substr(1);
  for (const Case& c : cases) {
    GameDir dir;
    dir.Write("rapikosc.ini", keep);
    auto r = RunScript(dir, c.script);
    EXPECT_EQ(r.exitCode, 2) << c.script;
    EXPECT_EQ(r.err, c.message + "\n") << c.script;
    EXPECT_EQ(dir.Read("rapikosc.ini"), keep) << c.script;
  }
}

TEST(ScriptGrammar, ScreenshotWritesAPng) {
  GameDir dir;
  auto r = RunScript(dir, "tick 16\nscreenshot " + dir.File("shot one.png") + " \t\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(dir.Read("shot one.png").substr(0, 4), "\x89PNG");

  // Never over a file the game keeps.
  dir.Write("rapikosc.ini", kEmptyRanking);
  auto own = RunScript(dir, "tick 16\nscreenshot " + dir.File("rapikosc.ini") + "\n");
  EXPECT_EQ(own.exitCode, 2);
  EXPECT_EQ(own.err.rfind("script line 2: screenshot: " + dir.File("rapikosc.ini") +
                              " is a file the game keeps",
                          0),
            0u)
      << own.err;
  EXPECT_EQ(dir.Read("rapikosc.ini"), kEmptyRanking);

  // A line of the longest length is still a line.
  EXPECT_EQ(RunScript(dir, "tick 16\n#" + std::string(65535, 'a') + "\n").exitCode, 0);

  // A file that cannot be made, or not written whole, is a script error;
  // nothing but a plain file is written over, and a FIFO is never waited on.
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
