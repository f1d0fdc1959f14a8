// Recordings: a recorded run replays to the same game, the best round of a session is kept;
// the order of the platform calls of start-up and shutdown, in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "game/lifecycle.h"
#include "media/headless/headless.h"
#include "ranking/ranking_file.h"
#include "script/best_rounds.h"
#include "script/recorder.h"
#include "script/replay.h"
#include "script/scripted_system.h"
#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing_support::GameDir;
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
  script::Recording r;
  for (const std::string& bytes : files) r.Note(script::FileNote("rapikosc.ini", bytes));
  r.Note(script::FileNote("../escape", "x"));  // a name with a path is refused
  const auto noted = script::NotedFiles(r.Text());
  ASSERT_EQ(noted.size(), 4u);
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(noted[i], std::pair(std::string("rapikosc.ini"), files[i]));
}

// Plays a script in-process with a recording and the best-round keeper, as
// an interactive session does: the platform's calls, ending in "PlatformError"
// where start-up failed.
std::vector<std::string> PlayInProcess(const GameDir& dir, const std::string& text) {
  std::istringstream in(text);
  script::ScriptReader reader(in);
  std::ostringstream out;
  script::ScriptedSystem scripted(reader, out);
  scripted.ReadPrologue();
  script::Recording recording;
  script::RecordingSystem system(scripted, recording);
  script::BestRounds best(dir.Path() + "/", recording);
  {
    state::GameState g;  // what is left of it goes with the window
    scripted.SetGame(&g);
    system.SetGame(&g, [&](int round, int32_t score) { best.RoundEnded(round, score); });
    const std::string folder = game::MyPath(dir.Path());
    try {
      game::StartUp(g, system, folder);
      game::RunMainLoop(g, system, folder, [](const std::string& line) { ADD_FAILURE() << line; });
      game::ShutDown(g, system, folder);
    } catch (const media::PlatformError&) {
      std::vector<std::string> log = scripted.Platform().CallLog();  // up to the failure
      log.push_back("PlatformError");
      return log;
    }
  }
  return scripted.Platform().CallLog();
}

TEST(Lifecycle, StartUpAndShutdownCallThePlatformInOrder) {
  GameDir dir;
  const std::vector<std::string> log = PlayInProcess(dir, "tick 16\nclick\ntick 16\n");
  // Before the bar, the first calls exactly: start-up, then shutdown after the ranking file.
  // After it, releases in this order among the rest: the flip chain, the sounds in their order,
  // the keyboard unacquired before the input objects go, the root last of the devices.
  const std::string calls =
      "Root.CreateDisplay Display.SetCooperativeLevel(17) Display.SetDisplayMode(640,480,8) "
      "Display.CreatePrimarySurface(1) Surface.GetAttachedSurface "
      "Display.LoadPaletteFromFile(back.bmp) Surface.SetPalette "
      "Display.CreateSurfaceFromFile(back.bmp,640,480) "
      "Display.CreateSurfaceFromResource(ABC,346,262) Surface.SetColorKey(128) "
      "Root.CreateSoundDevice SoundDevice.SetCooperativeLevel(2) "
      "SoundDevice.CreateSoundBuffer(WAVKYAN) SoundDevice.CreateSoundBuffer(WAVSHOT) "
      "SoundDevice.CreateSoundBuffer(WAVHIT) SoundDevice.CreateSoundBuffer(WAVFUEEN) "
      "SoundDevice.CreateSoundBuffer(WAVTYPE) SoundDevice.CreateSoundBuffer(WAVEND) "
      "SoundDevice.CreateSoundBuffer(WAVSTART) Root.CreateInput Input.CreateKeyboardDevice "
      "Keyboard.SetDataFormat Keyboard.SetCooperativeLevel(10) Keyboard.SetBufferSize(64) "
      "Keyboard.Acquire Display.RestoreDisplayMode Display.SetCooperativeLevel(8) | "
      "Release.Surface(primary) Release.SoundBuffer(WAVKYAN) Release.SoundBuffer(WAVSHOT) "
      "Release.SoundBuffer(WAVHIT) Release.SoundBuffer(WAVFUEEN) Release.SoundBuffer(WAVSTART) "
      "Release.SoundBuffer(WAVEND) Release.SoundBuffer(WAVTYPE) Release.SoundDevice "
      "Keyboard.Unacquire Release.Input Release.Keyboard Release.Root";
  std::string got;
  for (const std::string& call : log) got += call + " ";
  const size_t bar = calls.find("| ");
  EXPECT_EQ(got.substr(0, bar), calls.substr(0, bar));
  std::istringstream releases(calls.substr(bar + 2));
  for (std::string call, from = got.substr(bar); releases >> call;) {
    ASSERT_NE(from.find(call + " "), std::string::npos) << call << ": missing, or too early";
    from = from.substr(from.find(call + " "));
  }
  EXPECT_TRUE(dir.Exists("rapikosc.ini"));
}

TEST(Lifecycle, NothingAfterTheFailedStep) {
  GameDir dir;
  dir.Remove("back.bmp");
  const std::vector<std::string> log = PlayInProcess(dir, "");
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.back(), "PlatformError");
  EXPECT_EQ(log[log.size() - 2], "Display.LoadPaletteFromFile(back.bmp)");
  EXPECT_EQ(std::count(log.begin(), log.end(), "Root.CreateSoundDevice"), 0);
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
  script::Recording recording;
  script::BestRounds best(dir.Path() + "/", recording);
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
  script::Recording recording;
  script::BestRounds best(dir.Path() + "/", recording);
  best.RoundEnded(1, 5);
  for (const auto& e : fs::directory_iterator(elsewhere.Path())) {
    EXPECT_EQ(e.path().filename(), "back.bmp");
  }
}

// A replay's window, headless; it never closes.
struct Window : media::System {
  std::shared_ptr<media::Root> CreateRoot() override { return platform.CreateRoot(); }
  uint32_t GetTickCount() override { return platform.Tick(); }
  bool BeginPass() override { return true; }
  void DispatchMessages(media::WindowEvents&) override {}
  media::HeadlessPlatform platform;
};

// Without a round to watch every pass is shown; with one, only the passes after the one that
// starts it.
TEST(Replay, RoundsBeforeTheOneToWatchAreNotShown) {
  GameDir dir("");
  const std::string round1 = "press 57\ntick 16\ntick 16 7501\npress 28\ntick 16\n";
  for (const auto& [text, shown] :
       {std::pair{std::string("tick 16 2\n"), 2},
        {"# replay from round 2\n" + round1 + "press 57\ntick 16\ntick 16 3\n", 3}}) {
    dir.Write("r.script", text);
    Window window;
    std::ostringstream err;
    EXPECT_EQ(script::RunReplay(dir.File("r.script"), dir.Path() + "/", window, err), 0)
        << err.str();
    const auto& ops = window.platform.FrameOps();
    EXPECT_EQ(std::count_if(ops.begin(), ops.end(),
                            [](const media::SurfaceOp& op) { return op.kind == op.Kind::Flip; }),
              shown)
        << text;
  }
  dir.Remove("back.bmp");  // a start-up that fails: status 1, and says why
  Window window;
  std::ostringstream err;
  EXPECT_EQ(script::RunReplay(dir.File("r.script"), dir.Path() + "/", window, err), 1);
  EXPECT_NE(err.str().find("back.bmp"), std::string::npos) << err.str();
}

}  // namespace
