// The ranking file in whole games: a shared folder (one reader gone), signals, unreadable files, an
// unwritable folder (damaged files are golden games: tests/golden/ranking_*).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

#include "ranking/ranking_file.h"
#include "state/game_state.h"
#include "storage/folder_lock.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::LiveRun;
using testing_support::RunScript;

// A round without words ends after 120001 ms; with an empty ranking the
// result (key 30300000) goes to name entry, and the name is entered.
std::string EnterResult(const std::string& name) {
  return "press 57\ntick 16\ntick 60000 2\ntick 1\ntype " + name + "\npress 28\ntick 16\nstate\n";
}

state::GameState RankingIn(const GameDir& dir) {
  state::GameState g;
  ranking::LoadRankingFromBytes(g, dir.Read("rapikosc.ini"));
  return g;
}

// Root reads any file: under root, a file of mode 000 is unreadable only to
// another user, so the game runs as nobody then.
uid_t Unprivileged() { return geteuid() == 0 ? 65534 : static_cast<uid_t>(-1); }

// What would change if the file were touched: type, mode, size, inode and
// modification time.
std::string Look(const std::string& path) {
  struct stat s {};
  if (lstat(path.c_str(), &s) != 0) return "absent";
  return std::to_string(s.st_mode) + " " + std::to_string(s.st_size) + " " +
         std::to_string(s.st_ino) + " " + std::to_string(s.st_mtim.tv_sec) + "." +
         std::to_string(s.st_mtim.tv_nsec);
}

TEST(SharedFolder, TwoGamesSavingAtOnceAndAnIdleOneKeepEveryResult) {
  GameDir dir("");
  LiveRun idle(dir), ann(dir), bob(dir);
  // All three have started (read the absent ranking) before the lock is taken: a game still
  // starting would wait for it there and read the other's save as its own start.
  for (LiveRun* run : {&idle, &ann, &bob}) {
    run->Send("tick 16\nstate\n");
    ASSERT_TRUE(run->ReadLine());
  }
  // Bob's reader stops reading (`| head`): the game goes on all the same.
  bob.CloseOutput();
  std::optional<storage::FolderLock> lock(std::in_place, dir.Path() + "/");
  dir.Write("rapikosc.ini.tmp-LiveSave0001", "another game's save, under way");
  ann.Send(EnterResult("ANN"));
  bob.Send(EnterResult("BOB"));
  // Both wait for the lock: Ann does not get past her entry, nothing is touched.
  EXPECT_FALSE(ann.ReadLine(1000));
  EXPECT_FALSE(dir.Exists("rapikosc.ini"));
  EXPECT_TRUE(dir.Exists("rapikosc.ini.tmp-LiveSave0001"));
  lock.reset();
  ASSERT_TRUE(ann.ReadLine());
  for (LiveRun* run : {&ann, &bob, &idle}) EXPECT_EQ(run->Finish().exitCode, 0);
  const state::GameState g = RankingIn(dir);
  EXPECT_TRUE((g.rankNames[0] == "ANN" && g.rankNames[1] == "BOB") ||
              (g.rankNames[0] == "BOB" && g.rankNames[1] == "ANN"))
      << g.rankNames[0] << " " << g.rankNames[1];
  EXPECT_EQ(g.rankKeys[1], 30300000);
  EXPECT_EQ(g.rankKeys[2], 0);
  EXPECT_EQ(g.entryName, g.rankNames[1]);  // the last name typed, by the later save
  EXPECT_FALSE(dir.Exists("rapikosc.ini.tmp-LiveSave0001"));
}

// Ended from outside (a closed terminal, a logout, Ctrl+C) the game ends like Esc after the pass
// in which the signal came: a result entered was saved when entered; one whose name is being
// typed is entered under the name as typed, or the last name when none was typed.
TEST(Signals, HangUpTerminateAndInterruptEndTheGameLikeEscAndEnterTheResult) {
  const struct {
    std::string last, keys, name;
    int signal;
  } cases[] = {{"", "type ann\npress 28\n", "ANN", SIGHUP},
               {"", "type ann\npress 28\n", "ANN", SIGTERM},
               {"", "type ann\npress 28\n", "ANN", SIGINT},
               {"", "type ann\n", "ANN", SIGHUP},
               {"LAST", "", "LAST", SIGTERM},
               {"LAST", "type x\n", "LASTX", SIGINT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys + strsignal(c.signal));
    GameDir dir("");
    state::GameState last;
    last.entryName = c.last;
    dir.Write("rapikosc.ini", ranking::RankingFileBytes(last));
    LiveRun run(dir);
    run.Send("press 57\ntick 16\ntick 60000 2\ntick 1\n" + c.keys + "tick 16\nstate\n");
    ASSERT_TRUE(run.ReadLine());
    const bool entered = c.keys.find("press 28") != std::string::npos;
    EXPECT_EQ(RankingIn(dir).rankNames[0], entered ? c.name : "");  // saved when entered
    run.Signal(c.signal);
    run.Send("tick 16\nstate\n");
    const testing_support::RunResult r = run.Finish();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");  // the pass after the signal never ran
    const state::GameState g = RankingIn(dir);
    EXPECT_EQ(std::tuple(g.rankNames[0], g.rankKeys[0], g.entryName),
              std::tuple(c.name, 30300000, c.name));
  }
}

// What cannot be read is reported at start-up and left as it is; nothing waits on a FIFO. A game
// folder that cannot be written is reported before the title.
TEST(StartUp, UnreadableFilesAndAnUnwritableFolderAreReportedAndLeftAsTheyAre) {
  const struct {
    const char* file;
    char kind;  // p: a FIFO, d: a folder, 0: a file of mode 000, w: the folder without writing
    int exitCode;
    std::string problem;
    long errLines;
  } cases[] = {
      {"rapikosc.ini", 'p', 1, "not a plain file", 2},
      {"rapikosc.ini", 'd', 1, "not a plain file", 2},
      {"rapikosc.ini", '0', 1, std::strerror(EACCES), 2},
      {"back.bmp", 'p', 1, "not a plain file", 1},
      {"rapdata.ini", 'p', 0, "not a plain file", 1},  // no words, as without the file
      {"", 'w', 1, std::string("the ranking cannot be saved in the game folder "), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ": " + c.problem);
    GameDir dir;
    const std::string path = *c.file ? dir.File(c.file) : dir.Path();
    chmod(dir.Path().c_str(), c.kind != 'w' ? 0777 : Unprivileged() == uid_t(-1) ? 0555 : 0755);
    if (*c.file) dir.Remove(c.file);
    if (c.kind == 'p') mkfifo(path.c_str(), 0644);
    if (c.kind == 'd') mkdir(path.c_str(), 0755);
    if (c.kind == '0') dir.Write(c.file, "\"KEEP\"\r\n");
    if (c.kind == '0') chmod(path.c_str(), 0);
    const std::string before = Look(path);
    const auto r = RunScript(dir, "tick 16\nstate\n", {}, Unprivileged());
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    if (c.kind == 'w') EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.errLines) << r.err;
    if (*c.file) EXPECT_EQ(Look(path), before);  // the folder holds the script
    const std::string said = c.kind == 'w' ? c.problem + path + ": " + std::strerror(EACCES) : path;
    EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.problem), std::string::npos) << r.err;
  }
}

}  // namespace
