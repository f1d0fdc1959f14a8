// Saving the ranking file: a kill at any moment or a failed write never loses the old ranking.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ranking/ranking_file.h"
#include "state/game_state.h"
#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;

constexpr const char* kNotAllowed = "not allowed here";

state::GameState Ranking(const std::string& name, int32_t best) {
  state::GameState g;
  g.entryName = name;
  for (int i = 0; i < 10; ++i) {
    g.rankNames[i] = name + std::to_string(i);
    g.rankKeys[i] = best - 1000 * i;
  }
  return g;
}

// The save's error message, or "" when it went through.
std::string TrySave(const state::GameState& g, const std::string& dir) {
  try {
    ranking::SaveRanking(g, dir);
  } catch (const ranking::SaveError& e) {
    return e.what();
  }
  return "";
}

enum class Traced { kKilled, kFinished, kNoPtrace };

// Saves g in a traced child and kills it at its k-th system-call stop
// (entries and exits both count), unless the save finishes first.
Traced SaveKilledAtStop(const state::GameState& g, const std::string& dir, int k) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(4);
    raise(SIGSTOP);
    _exit(TrySave(g, dir).empty() ? 0 : 3);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) return Traced::kNoPtrace;
  ptrace(PTRACE_SETOPTIONS, pid, nullptr,
         reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL));
  for (int stops = 0, deliver = 0;;) {
    ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(static_cast<intptr_t>(deliver)));
    waitpid(pid, &status, 0);
    if (!WIFSTOPPED(status)) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save failed";
      return Traced::kFinished;
    }
    deliver = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status);
    if (deliver == 0 && ++stops == k) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return Traced::kKilled;
    }
  }
}

class RankingSaveTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }

  // The names in the folder besides the ranking file and the background.
  std::vector<std::string> Others() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) {
      const std::string name = e.path().filename().string();
      if (name != "rapikosc.ini" && name != "back.bmp") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Back to a folder holding only the old ranking file.
  void Reset() const {
    for (const std::string& name : Others()) fs::remove_all(dir + name);
    game.Write("rapikosc.ini", oldBytes);
  }
  std::string Message(int error) const {
    return "cannot write the ranking file " + file + ": " + std::strerror(error);
  }
  // Saves newRanking in a forked child once setup() has agreed; returns the
  // save's message, or kNotAllowed.
  std::string SaveInChild(const std::function<bool()>& setup) const {
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      const std::string message = setup() ? TrySave(newRanking, dir) : kNotAllowed;
      _exit(write(fds[1], message.data(), message.size()) < 0 ? 1 : 0);
    }
    close(fds[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return message;
  }
  // The fallback without ptrace: a child saving over and over, killed at random.
  void KillLoopingSavers() const {
    std::mt19937 random(12345);
    for (int i = 0; i < 300; ++i) {
      const pid_t pid = fork();
      while (pid == 0) TrySave(newRanking, dir);
      const timespec pause{0, std::uniform_int_distribution<long>(0, 3000000)(random)};
      nanosleep(&pause, nullptr);
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      const std::string now = ReadFileBytes(file);
      EXPECT_TRUE(now == oldBytes || now == newBytes) << "kill " << i << " left:\n" << now;
      Reset();
    }
  }

  testing_support::GameDir game{""};
  const std::string dir = game.Path() + "/";
  const std::string file = dir + "rapikosc.ini";
  const state::GameState oldRanking = Ranking("OLD", 90000000);
  const state::GameState newRanking = Ranking("NEW,ER", 500);  // a comma, negative keys
  const std::string oldBytes = ranking::RankingFileBytes(oldRanking);
  const std::string newBytes = ranking::RankingFileBytes(newRanking);
};

TEST_F(RankingSaveTest, SaveThenLoadAndNoFile) {
  ranking::SaveRanking(newRanking, dir);
  EXPECT_EQ(ReadFileBytes(file), newBytes);
  EXPECT_TRUE(Others().empty());
  state::GameState back = oldRanking;
  ranking::LoadRanking(back, dir);
  EXPECT_EQ(back.entryName, "NEW,ER");
  EXPECT_EQ(back.rankNames, newRanking.rankNames);
  EXPECT_EQ(back.rankKeys, newRanking.rankKeys);

  fs::remove(file);
  ranking::LoadRanking(back, dir);  // no file: nothing changes
  EXPECT_EQ(back.entryName, "NEW,ER");
  EXPECT_EQ(back.rankKeys, newRanking.rankKeys);
}

TEST_F(RankingSaveTest, KillAtEverySystemCallLeavesTheOldOrTheNewFileWhole) {
  int firstNew = 0;
  for (int k = 1; k < 5000; ++k) {
    const Traced traced = SaveKilledAtStop(newRanking, dir, k);
    if (traced == Traced::kNoPtrace) {
      std::printf("no ptrace here: killing looping savers at random instead\n");
      return KillLoopingSavers();
    }
    const std::string now = ReadFileBytes(file);
    if (traced == Traced::kFinished) {
      EXPECT_EQ(now, newBytes);
      EXPECT_TRUE(Others().empty());
      EXPECT_GT(firstNew, 1) << "no kill landed before the rename";
      return;
    }
    if (firstNew == 0 && now == newBytes) firstNew = k;
    // The old file until the rename, the new one from then on; never a mix.
    EXPECT_EQ(now, firstNew ? newBytes : oldBytes) << "killed at stop " << k;
    for (const std::string& name : Others()) {
      EXPECT_EQ(name.rfind("rapikosc.ini.tmp-", 0), 0u) << "a stray file: " << name;
    }
    Reset();
  }
  FAIL() << "the save never finished";
}

TEST_F(RankingSaveTest, FullDiskKeepsTheOldFile) {
  for (const size_t limit : {size_t{0}, size_t{20}, newBytes.size() - 1, newBytes.size()}) {
    SCOPED_TRACE(limit);
    Reset();
    const std::string message = SaveInChild([limit] {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit small{limit, limit};
      return setrlimit(RLIMIT_FSIZE, &small) == 0;
    });
    const bool fits = limit == newBytes.size();
    EXPECT_EQ(message, fits ? "" : Message(EFBIG));
    EXPECT_EQ(ReadFileBytes(file), fits ? newBytes : oldBytes);
    EXPECT_TRUE(Others().empty());
  }
}

TEST_F(RankingSaveTest, FolderWithoutWritePermissionKeepsTheOldFile) {
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
  // Permissions do not stop root, but they do inside a user namespace of its own.
  const std::string message =
      SaveInChild([] { return geteuid() != 0 || unshare(CLONE_NEWUSER) == 0; });
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
  if (message == kNotAllowed) GTEST_SKIP() << "no user namespace here";
  EXPECT_EQ(message, Message(EACCES));
  EXPECT_EQ(ReadFileBytes(file), oldBytes);
  EXPECT_TRUE(Others().empty());
}

TEST_F(RankingSaveTest, FailedRenameRemovesTheTemporary) {
  fs::remove(file);
  fs::create_directory(file);  // the name is taken by a folder with something in it
  game.Write("rapikosc.ini/inside", "x");
  EXPECT_EQ(TrySave(newRanking, dir), Message(EISDIR));
  EXPECT_EQ(ReadFileBytes(file + "/inside"), "x");
  EXPECT_TRUE(Others().empty());
}

TEST_F(RankingSaveTest, ASaveRemovesTemporariesOfGamesThatDied) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  const std::string stale = "rapikosc.ini.tmp-" + std::to_string(dead);
  const std::string live = "rapikosc.ini.tmp-" + std::to_string(getppid());
  for (const std::string& name : {stale, live, std::string("rapikosc.ini.tmp-x")}) {
    game.Write(name, "partial");
  }
  ranking::SaveRanking(newRanking, dir);
  EXPECT_EQ(Others(), (std::vector<std::string>{live, "rapikosc.ini.tmp-x"}));
  EXPECT_EQ(ReadFileBytes(file), newBytes);
}

// The whole game: when shutdown cannot write the ranking file, the run ends
// with status 1 and one line that says so.
TEST(RankingSaveGame, UnwritableRankingFileEndsTheRunWithOneLine) {
  testing_support::GameDir game;
  fs::create_directory(game.File("rapikosc.ini"));
  game.Write("rapikosc.ini/keep", "mine");
  const testing_support::RunResult r = testing_support::RunScript(game, "tick 16\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "cannot write the ranking file " + game.File("rapikosc.ini") + ": " +
                       std::strerror(EISDIR) + "\n");
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(game.Read("rapikosc.ini/keep"), "mine");
}

}  // namespace
