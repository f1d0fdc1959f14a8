// Tests that the ranking file survives a kill at any moment of a save, and failing writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "ranking/ranking_file.h"
#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;

// Exit codes of the forked children.
constexpr int kSaved = 0;
constexpr int kSaveFailed = 3;
constexpr int kNotAllowed = 4;  // ptrace or a user namespace refused here

core::GameState Ranking(const std::string& entry, int32_t base) {
  core::GameState g;
  g.entryName = entry;
  for (size_t i = 0; i < 10; ++i) {
    g.rankNames[i] = entry + std::to_string(i);
    g.rankKeys[i] = base - static_cast<int32_t>(i) * 1000;
  }
  return g;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs body in a forked child and returns its exit code (or 128 + signal).
int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int SaveOrFail(const core::GameState& g, const std::string& dir) {
  try {
    ranking::SaveRanking(g, dir);
  } catch (const ranking::SaveError&) {
    return kSaveFailed;
  }
  return kSaved;
}

class RankingCrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "rapiko-crash-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern + "/";
    file = dir + "rapikosc.ini";
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }

  // The names in the folder other than the ranking file.
  std::vector<std::string> Others() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) {
      if (e.path().filename() != "rapikosc.ini") names.push_back(e.path().filename().string());
    }
    return names;
  }
  // Back to a folder holding only the old file; returns how many others it held.
  size_t Reset(const std::string& old) {
    const std::vector<std::string> others = Others();
    for (const std::string& name : others) fs::remove_all(dir + name);
    WriteFile(file, old);
    return others.size();
  }

  std::string dir;
  std::string file;
  const core::GameState oldRanking = Ranking("OLD", 90000000);
  const core::GameState newRanking = Ranking("NEW,ER", 12345678);
  const std::string oldBytes = ranking::RankingFileBytes(oldRanking);
  const std::string newBytes = ranking::RankingFileBytes(newRanking);
};

// The outcome of one traced save killed at its k-th system-call stop.
enum class Traced { kKilled, kFinished, kNoPtrace };

struct TraceResult {
  Traced outcome = Traced::kFinished;
  std::string where;  // the stop it was killed at, for messages
};

// "entry of system call 82" or "exit of system call 82".
std::string DescribeStop(pid_t pid, int64_t& lastCall) {
  __ptrace_syscall_info info{};
  if (ptrace(PTRACE_GET_SYSCALL_INFO, pid, reinterpret_cast<void*>(sizeof info), &info) <= 0) {
    return "an unknown stop";
  }
  if (info.op == PTRACE_SYSCALL_INFO_ENTRY) {
    lastCall = static_cast<int64_t>(info.entry.nr);
    return "entry of system call " + std::to_string(lastCall);
  }
  return "exit of system call " + std::to_string(lastCall);
}

// Forks a child that saves newRanking under ptrace, and kills it with
// SIGKILL at its k-th system-call stop (entries and exits both count).
TraceResult SaveKilledAtStop(const core::GameState& ranking, const std::string& dir, int k) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(kNotAllowed);
    raise(SIGSTOP);
    _exit(SaveOrFail(ranking, dir));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) {
    EXPECT_EQ(WEXITSTATUS(status), kNotAllowed);
    return {Traced::kNoPtrace, ""};
  }
  EXPECT_TRUE(WIFSTOPPED(status) && WSTOPSIG(status) == SIGSTOP);
  ptrace(PTRACE_SETOPTIONS, pid, nullptr,
         reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL));
  int stops = 0;
  int deliver = 0;
  int64_t lastCall = -1;
  for (;;) {
    ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(static_cast<intptr_t>(deliver)));
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) {
      EXPECT_EQ(WEXITSTATUS(status), kSaved);
      return {Traced::kFinished, ""};
    }
    if (WIFSIGNALED(status)) {
      ADD_FAILURE() << "the saving child died of signal " << WTERMSIG(status);
      return {Traced::kFinished, ""};
    }
    deliver = 0;
    if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
      deliver = WSTOPSIG(status);  // a real signal: pass it on
      continue;
    }
    const std::string where = DescribeStop(pid, lastCall);
    if (++stops == k) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
      return {Traced::kKilled, where};
    }
  }
}

// Without ptrace: a child saves two rankings in turn, over and over, and is
// killed after a random short time. Returns the number of kills.
int KillLoopingSaver(const std::string& dir, const std::string& file, const core::GameState& a,
                     const core::GameState& b, const std::string& old,
                     const std::function<size_t()>& resetFolder, size_t& leftovers) {
  const std::string aBytes = ranking::RankingFileBytes(a);
  const std::string bBytes = ranking::RankingFileBytes(b);
  std::mt19937 random(12345);
  std::uniform_int_distribution<long> delayNs(0, 3000000);
  constexpr int kKills = 300;
  for (int i = 0; i < kKills; ++i) {
    const pid_t pid = fork();
    if (pid == 0) {
      for (bool first = true;; first = !first) {
        if (SaveOrFail(first ? a : b, dir) != kSaved) _exit(kSaveFailed);
      }
    }
    const timespec pause{0, delayNs(random)};
    nanosleep(&pause, nullptr);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself";
    const std::string now = ReadFile(file);
    EXPECT_TRUE(now == old || now == aBytes || now == bBytes) << "kill " << i << " left:\n" << now;
    leftovers += resetFolder();
  }
  return kKills;
}

TEST_F(RankingCrashTest, KillAtEverySystemCallLeavesTheOldOrTheNewFileWhole) {
  Reset(oldBytes);
  int points = 0;
  size_t leftovers = 0;
  int firstNew = 0;
  bool finished = false;
  for (int k = 1; k < 5000 && !finished; ++k) {
    const TraceResult traced = SaveKilledAtStop(newRanking, dir, k);
    const Traced outcome = traced.outcome;
    if (outcome == Traced::kNoPtrace) {
      std::cout << "ptrace is not allowed here: killing a looping saver at random instead\n";
      const int kills = KillLoopingSaver(
          dir, file, newRanking, oldRanking, oldBytes, [&] { return Reset(oldBytes); }, leftovers);
      std::cout << kills << " random kills, " << leftovers << " temporary files left behind\n";
      return;
    }
    const std::string now = ReadFile(file);
    if (outcome == Traced::kFinished) {
      finished = true;
      EXPECT_EQ(now, newBytes);
      EXPECT_TRUE(Others().empty()) << "a finished save left " << Others().front();
      break;
    }
    ++points;
    if (now == newBytes) {
      if (firstNew == 0) firstNew = k;
    } else {
      EXPECT_EQ(now, oldBytes) << "killed at stop " << k << ", " << traced.where;
      // Once in place, the new file stays: the save never goes back.
      EXPECT_EQ(firstNew, 0) << "the old file came back at stop " << k << ", " << traced.where;
    }
    for (const std::string& name : Others()) {
      EXPECT_EQ(name.rfind("rapikosc.ini.", 0), 0u)
          << "a stray file: " << name << " after " << traced.where;
    }
    leftovers += Reset(oldBytes);
  }
  EXPECT_TRUE(finished);
  // Both outcomes happened: the kills reached before and after the rename.
  EXPECT_GT(firstNew, 1);
  std::cout << points << " kill points, the new file from stop " << firstNew << " on, " << leftovers
            << " temporary files left behind\n";
}

TEST_F(RankingCrashTest, KillAtRandomMomentsOfRepeatedSaves) {
  Reset(oldBytes);
  size_t leftovers = 0;
  const int kills = KillLoopingSaver(
      dir, file, newRanking, oldRanking, oldBytes, [&] { return Reset(ReadFile(file)); },
      leftovers);
  EXPECT_EQ(kills, 300);
  std::cout << kills << " random kills, " << leftovers << " temporary files left behind\n";
}

// A size limit stops the write at every length the new file passes through,
// from the first byte to the last: the old file stays and no temporary does.
TEST_F(RankingCrashTest, DiskFullAtAnyLengthKeepsTheOldFile) {
  for (rlim_t limit = 0; limit <= newBytes.size(); ++limit) {
    Reset(oldBytes);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const int code = InChild([&] {
      close(pipeFds[0]);
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit small{limit, limit};
      if (setrlimit(RLIMIT_FSIZE, &small) != 0) return kNotAllowed;
      try {
        ranking::SaveRanking(newRanking, dir);
      } catch (const ranking::SaveError& e) {
        const std::string message = e.what();
        if (write(pipeFds[1], message.data(), message.size()) !=
            static_cast<ssize_t>(message.size())) {
          return kNotAllowed;
        }
        return kSaveFailed;
      }
      return kSaved;
    });
    close(pipeFds[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
      message.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);

    if (limit == newBytes.size()) {
      // Exactly room for the new file: the save goes through.
      EXPECT_EQ(code, kSaved);
      EXPECT_EQ(ReadFile(file), newBytes);
    } else {
      ASSERT_EQ(code, kSaveFailed) << "limit " << limit;
      EXPECT_EQ(message, "cannot write the ranking file " + file + ": " + std::strerror(EFBIG))
          << "limit " << limit;
      EXPECT_EQ(ReadFile(file), oldBytes) << "limit " << limit;
    }
    EXPECT_TRUE(Others().empty()) << "limit " << limit << " left " << Others().front();
  }
}

// Permissions do not stop root, but they do stop root's process inside a
// user namespace of its own, where it holds no power over the folder.
TEST_F(RankingCrashTest, FolderWithoutWritePermissionKeepsTheOldFile) {
  Reset(oldBytes);
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const int code = InChild([&] {
    close(pipeFds[0]);
    if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) return kNotAllowed;
    try {
      ranking::SaveRanking(newRanking, dir);
    } catch (const ranking::SaveError& e) {
      const std::string message = e.what();
      return write(pipeFds[1], message.data(), message.size()) > 0 ? kSaveFailed : kNotAllowed;
    }
    return kSaved;
  });
  close(pipeFds[1]);
  char buffer[512];
  const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
  close(pipeFds[0]);
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
  if (code == kNotAllowed)
    GTEST_SKIP() << "no user namespace here; the next test stops root another way";
  ASSERT_EQ(code, kSaveFailed);
  EXPECT_EQ(std::string(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0))),
            "cannot write the ranking file " + file + ": " + std::strerror(EACCES));
  EXPECT_EQ(ReadFile(file), oldBytes);
  EXPECT_TRUE(Others().empty());
}

// The temporary file cannot be made, whoever runs the test: its name is
// taken by a folder.
TEST_F(RankingCrashTest, TemporaryNameTakenKeepsTheOldFile) {
  Reset(oldBytes);
  const std::string blocker = file + ".tmp-" + std::to_string(getpid());
  fs::create_directory(blocker);
  WriteFile(blocker + "/inside", "x");
  try {
    ranking::SaveRanking(newRanking, dir);
    ADD_FAILURE() << "saved although the temporary name is a folder";
  } catch (const ranking::SaveError& e) {
    EXPECT_EQ(std::string(e.what()),
              "cannot write the ranking file " + file + ": " + std::strerror(EISDIR));
  }
  EXPECT_EQ(ReadFile(file), oldBytes);
  EXPECT_EQ(ReadFile(blocker + "/inside"), "x");
}

TEST_F(RankingCrashTest, MissingFolderIsAClearError) {
  const std::string missing = dir + "gone/";
  try {
    ranking::SaveRanking(newRanking, missing);
    ADD_FAILURE() << "saved into a folder that does not exist";
  } catch (const ranking::SaveError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot write the ranking file " + missing +
                                         "rapikosc.ini: " + std::strerror(ENOENT));
  }
  EXPECT_FALSE(fs::exists(missing));
}

// The whole game: shutdown cannot write the ranking file, so the run ends
// with status 1 and one line that says so.
TEST(RankingCrashGame, UnwritableRankingFileEndsTheRunWithOneLine) {
  testing_support::GameDir game;
  fs::create_directory(game.File("rapikosc.ini"));
  game.Write("rapikosc.ini/keep", "mine");
  const testing_support::RunResult r = testing_support::RunScript(game, "tick 16\n");
  EXPECT_EQ(r.exitCode, 1);
  ASSERT_FALSE(r.err.empty());
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  EXPECT_NE(r.err.find("cannot write the ranking file "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("rapikosc.ini"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(game.Read("rapikosc.ini/keep"), "mine");
  for (const auto& e : fs::directory_iterator(game.Path())) {
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
  }
}

// The same through a read-only game folder, which keeps its old ranking file.
TEST(RankingCrashGame, ReadOnlyGameFolderKeepsTheOldRanking) {
  testing_support::GameDir game;
  const std::string old = ranking::RankingFileBytes(Ranking("OLD", 777));
  game.Write("rapikosc.ini", old);
  game.Write("script.txt", "tick 16\nstate\n");
  const std::string errPath = game.Path() + ".err";
  fs::permissions(game.Path(), fs::perms::owner_read | fs::perms::owner_exec,
                  fs::perm_options::replace);
  const int code = InChild([&] {
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDWR);
    if (err < 0 || null < 0) return kNotAllowed;
    if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) return kNotAllowed;
    dup2(null, 0);
    dup2(null, 1);
    dup2(err, 2);
    execl(RAPIKO_BINARY, RAPIKO_BINARY, "--headless", "--script", game.File("script.txt").c_str(),
          "--dir", game.Path().c_str(), static_cast<char*>(nullptr));
    return 127;
  });
  fs::permissions(game.Path(), fs::perms::owner_all, fs::perm_options::add);
  const std::string err = ReadFile(errPath);
  fs::remove(errPath);
  if (code == kNotAllowed) GTEST_SKIP() << "no user namespace here";
  EXPECT_EQ(code, 1) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  EXPECT_NE(err.find("cannot write the ranking file "), std::string::npos) << err;
  EXPECT_NE(err.find(std::strerror(EACCES)), std::string::npos) << err;
  EXPECT_EQ(game.Read("rapikosc.ini"), old);
}

}  // namespace
