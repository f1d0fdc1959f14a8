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

// The program's version, and a game in the window without a window system (the other outcomes
// of a command line: the golden games command_line_*; each fault of the parser is the parser's
// own test).
TEST(CommandLine, VersionAndNoDisplay) {
  GameDir dir;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(name);
  auto r = RunBinary({"--version"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.rfind("Rapiko ", 0), 0u) << r.out;
  EXPECT_EQ(r.err, "");
  r = RunBinary({"--dir", dir.Path()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("rapiko: no display", 0), 0u) << r.err;
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
