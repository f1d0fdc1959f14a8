// The headless run's contract: command line, script errors and the lines they name
// (script_errors.txt), screenshots; start-up without a window system (each command's line at the
// edges of what it takes: cases/script_lines.txt, read by tests/media/readers_test.cpp).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "ranking/ranking_file.h"
#include "script/script_parser.h"
#include "support/case_file.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::RunBinary;
using testing_support::RunScript;

const std::string kEmptyRanking = ranking::RankingFileBytes(state::GameState{});

// What the program makes of a command line without a window system, nothing made (the usage's
// text differs from system to system; the scripts' outcomes: the golden games command_line_*;
// each fault of the parser is the parser's own test).
TEST(CommandLine, HelpVersionRefusalAndNoDisplay) {
  GameDir dir;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(name);
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string out, err;  // how each begins ("": nothing at all)
  } cases[] = {
      {{"--help"}, 0, "Usage: rapiko ", ""},
      {{"--version"}, 0, "Rapiko ", ""},
      {{"--headless", "--script", "-", "--window", "--dir", dir.Path()},
       2,
       "",
       "rapiko: --window and --headless do not go together\n\nUsage: rapiko "},
      {{"--dir", dir.Path()}, 1, "", "rapiko: no display"},
  };
  for (const auto& c : cases) {
    const auto r = RunBinary(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << ": " << r.err;
    EXPECT_EQ(std::pair(r.out.substr(0, c.out.size()), r.out.empty()),
              std::pair(c.out, c.out.empty()));
    EXPECT_EQ(std::pair(r.err.substr(0, c.err.size()), r.err.empty()),
              std::pair(c.err, c.err.empty()));
  }
  EXPECT_FALSE(dir.Exists("rapikosc.ini"));
}

TEST(ScriptErrors, NameTheLineAndStopWithoutShutdown) {
  const std::string keep = "\"KEEP" + kEmptyRanking.substr(1);
  const auto rows = testing_support::CaseRows("script/script_errors.txt");
  EXPECT_GT(rows.size(), 25u);
  for (const std::vector<std::string>& f : rows) {  // the script, the line it ends with
    GameDir dir;
    dir.Write("rapikosc.ini", keep);
    const auto inDir = [&dir](std::string text) {
      text = testing_support::Unescaped(text);
      for (size_t at; (at = text.find("GAMEDIR")) != std::string::npos;)
        text.replace(at, 7, dir.Path());
      return text;
    };
    const std::string script = inDir(f[0]), message = inDir(f[1]) + "\n";
    const auto r = RunScript(dir, script);
    EXPECT_EQ(r.exitCode, 2) << script;
    EXPECT_EQ(r.err.substr(0, message.size() - 1) + "\n", message) << script;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(dir.Read("rapikosc.ini"), keep) << script;
  }
}

// A screenshot is a PNG, after a line of the longest length; a FIFO is never waited on (the
// other files that cannot be written: script_errors.txt).
TEST(ScriptScreenshot, WritesAPngAndWaitsOnNoFifo) {
  GameDir dir;
  auto r = RunScript(dir, "tick 16\nscreenshot " + dir.File("shot one.png") + " \t\n#" +
                              std::string(script::ScriptReader::kMaxLineBytes - 1, 'a') + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(dir.Read("shot one.png").substr(0, 4), "\x89PNG");
  mkfifo(dir.File("fifo").c_str(), 0644);
  r = RunScript(dir, "tick 16\nscreenshot " + dir.File("fifo") + "\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "script line 2: screenshot: " + dir.File("fifo") +
                       ": cannot write: not a plain file\n");
}

}  // namespace
