// Recordings: files as notes, each pass written as it is played, the best round of a session kept
// (a recorded run replayed to the same game: the golden games record_keys and replay_keys; a link
// planted as replays/: posix/linked_folders_test.cpp).
#include "replay/recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/sessions.h"
#include "game/kept_rounds.h"
#include "ranking/ranking_file.h"
#include "replay/best_rounds.h"
#include "replay/format.h"
#include "replay/notes.h"
#include "script/script_parser.h"
#include "storage/folders.h"
#include "support/in_process.h"
#include "support/test_window.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;
using testing_support::PlayInProcess;

// However long a file, its notes stay lines that a script may hold.
TEST(Recording, FilesRideAlongAsNotesAndComeBackWhole) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  std::string longFile;
  while (longFile.size() < 150000) longFile += all;
  const std::string files[] = {"", "A", "AB", all, longFile};
  replay::Recording r;
  replay::RecordingText text(r);
  for (const std::string& bytes : files) {
    for (const std::string& line : replay::FileNotes("rapikosc.ini", bytes)) r.Note(line);
  }
  for (const std::string& line : replay::FileNotes("../escape", "x")) r.Note(line);  // refused
  std::istringstream lines(text.Text());
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), script::ScriptReader::kMaxLineBytes);
  }
  const auto noted = replay::NotedFiles(text.Text());
  ASSERT_EQ(noted.size(), std::size(files));
  for (size_t i = 0; i < std::size(files); ++i)
    EXPECT_EQ(noted[i], std::pair(std::string("rapikosc.ini"), files[i])) << i;
}

// A session that is killed leaves every pass it played: the line of a run of
// equal passes is in the file, and counts each pass, as soon as it is played.
TEST(Recording, AFileHoldsEveryPassTheMomentItIsPlayed) {
  GameDir dir("");
  const std::string path = dir.File("session.script");
  const std::string head = replay::RecordingFormatLine() + "\n";
  {
    replay::RecordingFile file(path);
    replay::Recording& r = file.Get();
    r.Start(7);
    const std::pair<uint32_t, std::string> passes[] = {
        {16, head + "start 7\ntick 16\n"},
        {16, head + "start 7\ntick 16 2\n"},
        {17, head + "start 7\ntick 16 2\ntick 17\n"},
    };
    for (const auto& [ms, after] : passes) {
      r.Pass(ms);
      EXPECT_EQ(dir.Read("session.script"), after);
    }
    r.Key({30, media::kKeyDown, 0, 0});
    for (int i = 0; i < 10; ++i) r.Pass(17);
    EXPECT_EQ(dir.Read("session.script"),
              head + "start 7\ntick 16 2\ntick 17\ndown 30\ntick 17 10\n");
  }  // gone without Finish, as a killed game goes
  EXPECT_EQ(dir.Read("session.script"),
            head + "start 7\ntick 16 2\ntick 17\ndown 30\ntick 17 10\n");
}

// A replay's window, headless; it never closes.
using Window = testing_support::TestWindow;

// After five idle minutes on the title, round 1 scores nothing, round 2
// locks and fires at every letter, round 3 is ended by Esc and is no
// finished round. The best round is kept from its own start: small, and
// played again it ends with the score that named it.
TEST(BestRounds, TheBestRoundIsKeptFromItsOwnStartAndReplaysToItsScore) {
  GameDir dir("AAA\r\n");
  dir.Write("rapikosc.ini", ranking::RankingFileBytes(state::GameState{}));
  std::string s = "tick 16 18750\npress 57\ntick 16\ntick 16 7501\npress 28\ntick 16\n";
  s += "press 57\ntick 16\n";
  for (int i = 0; i < 240; ++i) s += "press 30 57\ntick 16 31\n";
  s += "tick 16 100\npress 28\ntick 16\npress 57\ntick 16 50\npress 1\ntick 16\n";
  PlayInProcess(dir, s);
  const auto kept = storage::ListFolder(dir.File("replays"));
  ASSERT_EQ(kept.size(), 1u);
  const std::string text = dir.Read("replays/" + kept[0]);
  EXPECT_LT(text.size(), 200u * 1024);
  EXPECT_EQ(text.rfind(replay::RecordingFormatLine() + "\n", 0), 0u);
  EXPECT_EQ(text.find("tick 16 18750"), std::string::npos) << "the idle title is not kept";
  EXPECT_NE(text.find("# resume {"), std::string::npos);
  const auto score = game::ScoreOfReplayName(kept[0]);
  ASSERT_TRUE(score);
  EXPECT_GT(*score, 0);

  // Played again, in a folder whose own words and ranking differ: the
  // recording carries its own, and the player's files stay as they are.
  GameDir other("ZZZ\r\n");
  const std::string theirs = ranking::RankingFileBytes(state::GameState{});
  other.Write("rapikosc.ini", theirs);
  Window window;
  std::ostringstream err;
  int32_t replayed = -1;
  int mode = -1;
  EXPECT_EQ(app::PlayRecording("best", text, other.Path() + "/", window, err,
                               [&](const state::GameState& g) {
                                 replayed = g.score;
                                 mode = g.gameMode;
                               }),
            0)
      << err.str();
  EXPECT_EQ(replayed, *score);
  EXPECT_EQ(err.str(), "");                // its word file read from its notes, whole and clean
  EXPECT_EQ(mode, state::kModeNameEntry);  // it ends where the round ended
  EXPECT_EQ(other.Read("rapikosc.ini"), theirs);
  EXPECT_FALSE(other.Exists("rapiko-history.csv"));
}

// Of the kept rounds of all sessions the ten highest scores stay; the player's own files and the
// leftovers of killed games are left and removed. Of a session's rounds only a higher score
// replaces its kept round (of two equal ones the first stays; a round ended without a start is
// none), and only its own: two sessions that keep a round in the same second with the same score
// each keep their own file.
TEST(BestRounds, TheTenHighestStayAndOnlyAHigherScoreReplacesASessionsOwn) {
  GameDir dir("");
  fs::create_directories(dir.File("replays"));
  for (int score : {5, 90, 7, 300, 12, 64, 8, 1, 77, 3, 41, 2})
    dir.Write("replays/best-20260101-000000-" + std::to_string(score) + ".script", "");
  dir.Write("replays/notes.txt", "mine");
  dir.Write("replays/.best-AbCdEf123456", "partial");
  dir.Write("replays/best-20260101-000000-9.script.tmp-AbCdEf123456", "partial");
  replay::Recording first, second;
  replay::BestRounds one(dir.Path() + "/", first), two(dir.Path() + "/", second);
  state::GameState g;
  one.RoundEnded(g, 0, 99);  // never started
  const auto round = [&g](replay::BestRounds& best, replay::Recording& recording, const char* note,
                          int32_t score) {
    best.RoundStarted(g, 1, 0);
    recording.Note(note);
    best.RoundEnded(g, 1, score);
  };
  round(one, first, "first", 40);
  round(two, second, "second", 40);
  round(one, first, "equal", 40);
  round(one, first, "lower", 39);
  const auto kept = [&dir] {
    std::vector<std::string> rounds;  // each kept round's score, and the note after its start
    for (const std::string& name : storage::ListFolder(dir.File("replays"))) {
      const std::string text = dir.Read("replays/" + name);
      const auto score = game::ScoreOfReplayName(name);
      rounds.push_back(!score ? name
                       : *score < 40 || *score == 41 || *score > 50
                           ? std::to_string(*score)
                           : std::to_string(*score) + " " +
                                 text.substr(text.find("\n# ", text.find("start")) + 3));
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(kept(), (Names{"12", "300", "40 first\n", "40 second\n", "41", "64", "7", "77", "8",
                           "90", "notes.txt"}));
  round(one, first, "better", 50);
  EXPECT_EQ(kept(), (Names{"12", "300", "40 second\n", "41", "50 better\n", "64", "7", "77", "8",
                           "90", "notes.txt"}));
}

}  // namespace
