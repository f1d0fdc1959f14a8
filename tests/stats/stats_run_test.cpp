// Statistics in whole runs: a history that cannot be written, --stats, the practice keys (the
// screen from the title and the rounds' lines are golden games: tests/golden/stats_*).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <tuple>

#include "replay/notes.h"
#include "stats/history_file.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::RunBinary;
using testing_support::RunScript;

constexpr const char* kHistory = "rapiko-history.csv";

// A history of `rounds` rounds in which Q is often missed.
std::string History(int rounds) {
  std::string bytes = std::string(stats::kHistoryHeader) + "\n";
  for (int i = 1; i <= rounds; ++i) {
    const std::string date = "2025-02-" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    state::RoundRecord r;
    r.date = date;
    r.time = "09:30:00";
    r.score = 100 * i;
    r.level = 4;
    r.maxLevel = 6;
    r.counts = {.destroyed = 40 + i, .locks = 44, .wrongKeys = 4, .lost = 6, .shots = 12};
    r.counts.keys[16] = {2, 2, 1};   // Q: 60% missed
    r.counts.keys[30] = {20, 1, 0};  // A
    bytes += stats::FormatRoundLine(r) + "\n";
  }
  return bytes;
}

// A round ended by Esc or a click leaves no line (golden games stats_history, quit_click); a
// line that cannot be written is named at the end, and the game goes on and ends as always.
TEST(History, AFailedWriteIsReported) {
  GameDir dir;
  std::filesystem::create_directory(dir.File(kHistory));
  auto r = RunScript(dir, "press 57\ntick 16\ntick 1000 122\nstate\n");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.States().back()["gameMode"], 2);
  EXPECT_EQ(r.err, "cannot write the history file " + dir.File(kHistory) + ": Is a directory\n");
  EXPECT_TRUE(dir.Exists("rapikosc.ini"));
}

// A history that is a link is never written through (nor made where a
// dangling link points); one that is a FIFO is never waited on.
TEST(History, NeverThroughALinkNeverWaitingOnAFifo) {
  const struct {
    char kind;  // l: a link to a file outside, d: a link to nowhere, p: a FIFO
    std::string problem;
  } cases[] = {{'l', std::strerror(ELOOP)}, {'d', std::strerror(ELOOP)}, {'p', "not a plain file"}};
  for (const auto& c : cases) {
    GameDir dir, outside;
    const std::string path = dir.File(kHistory);
    if (c.kind == 'l') outside.Write("h", "theirs\n");
    if (c.kind != 'p') std::filesystem::create_symlink(outside.File("h"), path);
    if (c.kind == 'p') mkfifo(path.c_str(), 0644);
    auto r = RunScript(dir, "press 57\ntick 16\ntick 1000 122\nstate\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "cannot write the history file " + path + ": " + c.problem + "\n");
    EXPECT_EQ(outside.Read("h"), c.kind == 'l' ? "theirs\n" : "");
  }
}

// The history is read whole, whatever its size: the round just played is
// the last, past the 64 MiB that were once the limit.
TEST(StatsCommand, TheNewestRoundOfAHugeHistoryIsTheLast) {
  GameDir dir;
  const std::string old = History(1).substr(std::string(stats::kHistoryHeader).size() + 1);
  std::string bytes = std::string(stats::kHistoryHeader) + "\n";
  while (bytes.size() < (std::size_t{70} << 20)) bytes += old;
  dir.Write(kHistory, bytes);
  auto played = RunScript(dir, "press 57\ntick 16\ntick 1000 122\n");
  ASSERT_EQ(played.exitCode, 0) << played.err;
  auto r = RunBinary({"--stats", "--dir", dir.Path() + "/"});
  EXPECT_EQ(r.exitCode, 0);
  const std::size_t last = r.out.find("Last round:      0 points");
  EXPECT_NE(last, std::string::npos) << r.out.substr(0, 400);
}

TEST(StatsCommand, EmptyNormalAndDamagedHistory) {
  struct Case {
    std::string history;  // empty: no file
    std::vector<std::string> lines;
  };
  const std::string list = "Word list:       the game folder's rapdata.ini";
  const std::string no = "No finished round yet in ";
  for (const Case& c : std::vector<Case>{
           {"", {list, no + "DIR/rapiko-history.csv"}},
           {History(12),
            {list, "Rounds played:   12",
             "Best round:      1200 points, level 4/6, 26.0 letters/min, 91.7% accuracy, "
             "2025-02-12 09:30:00",
             "Last round:      1200 points, level 4/6, 26.0 letters/min, 91.7% accuracy, "
             "2025-02-12 09:30:00",
             "Last 10 rounds:  750.0 points, 23.8 letters/min, 91.7% accuracy",
             "The 2 before:    150.0 points, 20.8 letters/min, 91.7% accuracy",
             "Change:          +600.0 points, +3.0 letters/min, +0.0% accuracy",
             "Weakest keys:    Q: 60% missed, A: 5% missed (last 20 rounds)"}},
           {History(1) + "2025-02-02,09:3\nnot a round\n",
            {list, "Rounds played:   1 (2 damaged lines skipped)",
             "Best round:      100 points, level 4/6, 20.5 letters/min, 91.7% accuracy, "
             "2025-02-01 09:30:00",
             "Last round:      100 points, level 4/6, 20.5 letters/min, 91.7% accuracy, "
             "2025-02-01 09:30:00",
             "Last 1 round:    100.0 points, 20.5 letters/min, 91.7% accuracy",
             "Weakest keys:    Q: 60% missed, A: 5% missed (last 20 rounds)"}},
           {"garbage\n", {list, no + "DIR/rapiko-history.csv (1 damaged line skipped)"}}}) {
    GameDir dir;
    if (!c.history.empty()) dir.Write(kHistory, c.history);
    auto r = RunBinary({"--stats", "--dir", dir.Path() + "/"});
    std::string expected;
    for (std::string line : c.lines) {
      if (const size_t at = line.find("DIR/"); at != std::string::npos) {
        line.replace(at, 4, dir.Path() + "/");
      }
      expected += line + "\n";
    }
    EXPECT_EQ(std::tuple(r.exitCode, r.out, r.err), std::tuple(0, expected, ""));
  }
}

// --stats shows the rounds of the list --words names (the game folder's own word file by any
// name is its list), or of every list with --all-lists, each round then with its list.
TEST(StatsCommand, TheRoundsOfTheListNamedOrOfEveryList) {
  GameDir dir;
  std::string bytes = std::string(stats::kFirstHistoryHeader) + "\n";
  bytes += "2025-02-01,09:30:00,300,4,6,41,44,4,6,12,20.5,91.7,Q:2:2:1\n";  // the first columns
  for (const auto& [score, list, practice] :
       {std::tuple{500, "digits", true}, {200, "digits", false}, {100, "", false}}) {
    state::RoundRecord r;
    r.date = "2025-02-02";
    r.time = "09:30:00";
    r.score = score;
    r.level = 4;
    r.maxLevel = 6;
    r.list = list;
    r.practice = practice;
    bytes += stats::FormatRoundLine(r) + "\n";
  }
  dir.Write(kHistory, bytes);
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> lines;  // some of the lines
  } cases[] = {
      {{},
       {"Word list:       the game folder's rapdata.ini\n", "Rounds played:   2\n",
        "Best round:      300 points, level 4/6, 20.5 letters/min, 91.7% accuracy, "
        "2025-02-01 09:30:00\n"}},
      {{"--words", dir.File("rapdata.ini")}, {"the game folder's rapdata.ini\n", "played:   2\n"}},
      {{"--words", "digits"},
       {"Word list:       digits\n", "Rounds played:   2\n",
        "Best round:      500 points, level 4/6, 0.0 letters/min, no keys judged, "
        "2025-02-02 09:30:00, practice\n",
        "Last round:      200 points"}},
      {{"--all-lists"},
       {"Word lists:      all\n", "Rounds played:   4\n",
        "Best round:      500 points, level 4/6, 0.0 letters/min, no keys judged, "
        "2025-02-02 09:30:00, list digits, practice\n",
        "2025-02-02 09:30:00, list the game folder's rapdata.ini\nLast 4 rounds:"}},
      {{"--words", "nosuch"},
       {"Word list:       nosuch\nNo finished round yet in " + dir.Path() + "/" + kHistory + "\n"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--stats", "--dir", dir.Path() + "/"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto r = RunBinary(args);
    EXPECT_EQ(std::tuple(r.exitCode, r.err), std::tuple(0, "")) << c.args.size();
    for (const std::string& line : c.lines)
      EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
  }
}

// --practice takes the weakest keys of the rounds of the list played, and notes them in a
// recording for the replay (without it, a history changes nothing of play: the golden game
// play_with_history).
TEST(Practice, ARecordedPracticeSessionNotesTheKeysOfItsList) {
  // The game folder's rounds miss Q; the digits rounds miss 1, then 2.
  state::RoundRecord digits;
  digits.date = "2025-03-01";
  digits.time = "09:30:00";
  digits.list = "digits";
  digits.counts.keys[2] = {1, 2, 1};  // 1: 75% missed
  digits.counts.keys[3] = {3, 1, 0};  // 2: 25%
  const std::string history = History(2) + stats::FormatRoundLine(digits) + "\n";
  const struct {
    std::vector<std::string> args;
    std::string note;
    std::vector<int16_t> keys;
  } cases[] = {{{}, "\n# practice Q A\n", {16, 30}},
               {{"--words", "digits"}, "\n# practice 1 2\n", {2, 3}}};
  for (const auto& c : cases) {
    GameDir dir;
    dir.Write(kHistory, history);
    std::vector<std::string> args = {"--practice", "--record", dir.File("session.script")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto r = RunScript(dir, "tick 16\n", args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string recording = dir.Read("session.script");
    EXPECT_NE(recording.find(c.note), std::string::npos) << recording;
    EXPECT_EQ(replay::NotedPracticeKeys(recording), c.keys);
  }
  EXPECT_EQ(replay::NotedPracticeKeys("start 1\ntick 16\n"), std::nullopt);
}

}  // namespace
