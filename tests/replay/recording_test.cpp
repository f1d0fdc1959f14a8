// Recordings: a recorded run replays to the same game, the best round of a session is kept.
#include "replay/recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "ranking/ranking_file.h"
#include "replay/best_rounds.h"
#include "replay/notes.h"
#include "support/in_process.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::GameDir;
using testing_support::PlayInProcess;
using testing_support::ReadFileBytes;
using testing_support::RunScript;

// The last state of a run, without the sound log (which depends on where
// earlier state lines took it).
json LastState(const testing_support::RunResult& r) {
  json s = r.States().back();
  s.erase("sounds");
  return s;
}

// Every kind of input a recording must carry: keys read in batches, wrong
// keys, clicks, focus changes (a pause), name entry, Esc, odd pass lengths
// and a tick count that wraps.
TEST(Recording, ARecordedRunReplaysToTheSameGameAndRanking) {
  const std::string golden = std::string(RAPIKO_SOURCE_DIR) + "/tests/golden/";
  const std::string cases[] = {
      ReadFileBytes(golden + "bot_sloppy.script") + "state\n",
      ReadFileBytes(golden + "name_entry.script"),
      "start 4294967290\npress 57 57 57 57 57 57 30\ntick 3\ntick 0 2\ntype aaa\ntick 40 3\n"
      "press 1 57\ntick 7\nstate\n",
      "press 57\ntick 16\ntick 16 300\nclick\ntype cat\ntick 16\nstate\ntick 16\n",
      "press 57\ntick 16 200\nfocus out\ntick 16\ntype cat\ntick 20 50\nfocus in\ntick 16 9\n",
  };
  for (const std::string& script : cases) {
    GameDir played, replayed;
    const auto original = RunScript(played, script + "state\n", {"--record", played.File("r")});
    ASSERT_EQ(original.exitCode, 0) << original.err;
    const auto again = RunScript(replayed, played.Read("r") + "state\n");
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(LastState(again), LastState(original)) << script;
    EXPECT_EQ(replayed.Read("rapikosc.ini"), played.Read("rapikosc.ini")) << script;
  }
}

TEST(Recording, FilesRideAlongAsNotesAndComeBackWhole) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  const std::string files[] = {"", "A", "AB", all};
  replay::Recording r;
  for (const std::string& bytes : files) r.Note(replay::FileNote("rapikosc.ini", bytes));
  r.Note(replay::FileNote("../escape", "x"));  // a name with a path is refused
  const auto noted = replay::NotedFiles(r.Text());
  ASSERT_EQ(noted.size(), 4u);
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(noted[i], std::pair(std::string("rapikosc.ini"), files[i]));
}

std::vector<std::string> Replays(const GameDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.File("replays"))) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(BestRounds, TheSessionsBestRoundIsKeptAndReplaysToItsScore) {
  GameDir dir("AAA\r\n");
  dir.Write("rapikosc.ini", ranking::RankingFileBytes(state::GameState{}));
  // Round 1 scores nothing; round 2 locks and fires at every letter; round
  // 3 is ended by Esc and is not a finished round.
  std::string s = "press 57\ntick 16\ntick 16 7501\npress 28\ntick 16\npress 57\ntick 16\n";
  for (int i = 0; i < 240; ++i) s += "press 30 57\ntick 16 31\n";
  s += "tick 16 100\npress 28\ntick 16\npress 57\ntick 16 50\npress 1\ntick 16\n";
  PlayInProcess(dir, s);
  const auto kept = Replays(dir);
  ASSERT_EQ(kept.size(), 1u);
  const std::string file = dir.File("replays/" + kept[0]);
  const std::string text = ReadFileBytes(file);
  EXPECT_EQ(text.rfind("# replay from round 2\n", 0), 0u);
  GameDir other("AAA\r\n");
  other.Write("rapikosc.ini", ranking::RankingFileBytes(state::GameState{}));
  const auto r = RunScript(other, text + "state\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const int score = r.States().back()["score"];
  EXPECT_GT(score, 0);
  EXPECT_EQ(kept[0].substr(kept[0].rfind('-') + 1), std::to_string(score) + ".script");
}

TEST(BestRounds, OnlyTheTenHighestScoresStay) {
  GameDir dir("");
  fs::create_directories(dir.File("replays"));
  for (int score : {5, 90, 7, 300, 12, 64, 8, 1, 77, 3, 40, 2}) {
    dir.Write("replays/best-20260101-000000-" + std::to_string(score) + ".script", "");
  }
  dir.Write("replays/notes.txt", "mine");
  replay::Recording recording;
  replay::BestRounds best(dir.Path() + "/", recording);
  best.RoundEnded(1, 6);
  const auto kept = Replays(dir);
  EXPECT_EQ(kept.size(), 11u);  // ten replays and the player's own file
  EXPECT_TRUE(fs::exists(dir.File("replays/notes.txt")));
  for (const char* gone : {"-1.script", "-2.script", "-3.script"}) {
    EXPECT_FALSE(fs::exists(dir.File(std::string("replays/best-20260101-000000") + gone))) << gone;
  }
}

TEST(BestRounds, ALinkPlantedAsTheReplaysFolderIsNeverWrittenThrough) {
  GameDir dir(""), elsewhere("");
  fs::create_directory_symlink(elsewhere.Path(), dir.File("replays"));
  replay::Recording recording;
  replay::BestRounds best(dir.Path() + "/", recording);
  best.RoundEnded(1, 5);
  for (const auto& e : fs::directory_iterator(elsewhere.Path())) {
    EXPECT_EQ(e.path().filename(), "back.bmp");
  }
}

}  // namespace
