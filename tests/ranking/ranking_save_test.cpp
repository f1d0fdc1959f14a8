// Saving the ranking file: kills at any system call, planted files, full disks (the folder lock
// itself: tests/storage/; two games saving at once: SharedFolder).
#include "ranking/ranking_save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ranking/ranking_file.h"
#include "state/game_state.h"
#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;

constexpr const char* kNotAllowed = "not allowed here";
constexpr const char* kTemporary = "rapikosc.ini.tmp-";

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
std::string TrySave(state::GameState g, const std::string& dir) {
  try {
    ranking::SaveRanking(g, dir);
  } catch (const ranking::SaveError& e) {
    return e.what();
  }
  return "";
}

// A system-call stop of a traced save.
struct Stop {
  pid_t pid;
  int count;  // entries and exits both count, from 1
  __ptrace_syscall_info info;
  bool Enters(long number) const {
    return info.op == PTRACE_SYSCALL_INFO_ENTRY && info.entry.nr == static_cast<uint64_t>(number);
  }
  std::string Text(int arg) const {  // a string argument, read from the child
    std::ifstream mem("/proc/" + std::to_string(pid) + "/mem", std::ios::binary);
    mem.seekg(static_cast<std::streamoff>(info.entry.args[arg]));
    std::string text;
    std::getline(mem, text, '\0');
    return text;
  }
};
using StopHandler = std::function<bool(const Stop&)>;  // false: kill the child here

struct ChildResult {
  enum { kFinished, kKilled, kNoPtrace } end = kFinished;
  std::string message;  // the save's message, or kNotAllowed
};

// Saves g in a forked child once setup() has agreed; with onStop, the child
// is traced and shown each system-call stop.
ChildResult SaveInChild(const state::GameState& g, const std::string& dir,
                        const std::function<bool()>& setup, const StopHandler& onStop = nullptr) {
  int fds[2];
  if (pipe(fds) != 0) return {ChildResult::kFinished, "no pipe"};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    if (onStop && ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(4);
    if (onStop) raise(SIGSTOP);
    const std::string message = setup() ? TrySave(g, dir) : kNotAllowed;
    _exit(write(fds[1], message.data(), message.size()) < 0 ? 1 : 0);
  }
  close(fds[1]);
  ChildResult result;
  int status = 0;
  if (onStop) {
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.end = ChildResult::kNoPtrace;
    ptrace(PTRACE_SETOPTIONS, pid, nullptr,
           reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL));
    for (int stops = 0, deliver = 0; result.end == ChildResult::kFinished;) {
      ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(intptr_t{deliver}));
      waitpid(pid, &status, 0);
      if (!WIFSTOPPED(status)) break;
      deliver = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status);
      if (deliver != 0) continue;
      Stop stop{pid, ++stops, {}};
      ptrace(PTRACE_GET_SYSCALL_INFO, pid, reinterpret_cast<void*>(sizeof stop.info), &stop.info);
      if (!onStop(stop)) {
        kill(pid, SIGKILL);
        result.end = ChildResult::kKilled;
      }
    }
  }
  char buffer[512];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) result.message.append(buffer, n);
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return result;
}

bool Always() { return true; }

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
  const std::vector<std::string> kJustTheLock{"rapikosc.ini.lock"};
  // Back to a folder holding only the old ranking file, of mode 0640.
  void Reset() const {
    for (const std::string& name : Others()) fs::remove_all(dir + name);
    game.Write("rapikosc.ini", oldBytes);
    chmod(file.c_str(), 0640);
  }

  testing_support::GameDir game{""};
  const std::string dir = game.Path() + "/";
  const std::string file = dir + "rapikosc.ini";
  const state::GameState oldRanking = Ranking("OLD", 90000000);
  const std::string oldBytes = ranking::RankingFileBytes(oldRanking);
  // A game that read no ranking, then entered a result between the old
  // places 4 and 5 under a name with a comma: the save enters it into the file.
  const state::GameState player = [] {
    state::GameState g;
    g.entryName = "NEW,ER";
    g.unsavedResults.push_back({89995500, "NEW,ER"});
    g.unsavedName = true;
    return g;
  }();
  const std::string newBytes = [this] {
    state::GameState g = oldRanking;
    g.entryName = "NEW,ER";
    std::rotate(g.rankNames.begin() + 5, g.rankNames.end() - 1, g.rankNames.end());
    std::rotate(g.rankKeys.begin() + 5, g.rankKeys.end() - 1, g.rankKeys.end());
    g.rankNames[5] = "NEW,ER";
    g.rankKeys[5] = 89995500;
    return ranking::RankingFileBytes(g);
  }();
};

// Merging with the file as it is now, and saving when nothing changed or there is no file, are
// whole games too (SharedFolder and the golden games).
TEST_F(RankingSaveTest, EntersUnsavedResultsIntoTheFileAndKeepsItsMode) {
  // Temporaries of saves that died; only the save's own pattern is removed.
  for (const char* name : {"rapikosc.ini.tmp-AbCdEf123456", "rapikosc.ini.tmp-12345"}) {
    game.Write(name, "partial");
  }
  state::GameState g = player;
  ranking::SaveRanking(g, dir);
  EXPECT_EQ(ReadFileBytes(file), newBytes);
  EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
  EXPECT_EQ(Others(), (std::vector<std::string>{"rapikosc.ini.lock", "rapikosc.ini.tmp-12345"}));
  EXPECT_TRUE(g.unsavedResults.empty());
  EXPECT_FALSE(g.unsavedName);
  EXPECT_EQ(ranking::RankingFileBytes(g), newBytes);  // the game now shows the file
}

TEST_F(RankingSaveTest, KillAtEverySystemCallLeavesTheOldOrTheNewFileWhole) {
  int killedBefore = 0, killedAfter = 0;
  for (int k = 1; k < 5000; ++k) {
    // Whether this run's rename was done when it was killed: the number of
    // calls before it can differ from run to run (a sanitizer's allocator).
    bool inRename = false, renamed = false;
    const ChildResult r = SaveInChild(player, dir, Always, [&](const Stop& s) {
      if (s.Enters(SYS_rename) || s.Enters(SYS_renameat) || s.Enters(SYS_renameat2)) {
        inRename = true;
      } else if (inRename && s.info.op == PTRACE_SYSCALL_INFO_EXIT) {
        renamed = true;
        inRename = false;
      }
      return s.count < k;
    });
    if (r.end == ChildResult::kNoPtrace) GTEST_SKIP() << "no ptrace here";
    const std::string now = ReadFileBytes(file);
    if (r.end == ChildResult::kFinished) {
      EXPECT_EQ(r.message, "");
      EXPECT_EQ(now, newBytes);
      EXPECT_EQ(Others(), kJustTheLock);
      EXPECT_GT(killedBefore, 0) << "no kill landed before the rename";
      EXPECT_GT(killedAfter, 0) << "no kill landed after the rename";
      return;
    }
    ++(renamed ? killedAfter : killedBefore);
    // The old file until the rename, the new one from then on; never a mix.
    EXPECT_EQ(now, renamed ? newBytes : oldBytes) << "killed at stop " << k;
    for (const std::string& name : Others()) {
      EXPECT_TRUE(name == kJustTheLock[0] || name.rfind(kTemporary, 0) == 0) << "stray: " << name;
    }
    Reset();
  }
  FAIL() << "the save never finished";
}

// Whatever waits at the name the save picks (a link to a file outside, a
// link to nowhere, a file anyone may write) is passed over, never used.
TEST_F(RankingSaveTest, PlantedLinksAndFilesAtTheTemporaryNameAreNeverUsed) {
  const std::string victim = game.File("victim");
  game.Write("victim", "not yours");
  int planted = 0;
  const ChildResult r = SaveInChild(player, dir, Always, [&](const Stop& s) {
    if (planted < 3 && s.Enters(SYS_openat) && (s.info.entry.args[2] & O_CREAT) &&
        s.Text(1).find(kTemporary) != std::string::npos) {
      const std::string at = s.Text(1);
      if (planted == 0) fs::create_symlink(victim, at);
      if (planted == 1) fs::create_symlink(game.File("made-outside"), at);
      if (planted == 2) game.Write(fs::path(at).filename(), "planted");
      if (planted == 2) chmod(at.c_str(), 0666);
      ++planted;
    }
    return true;
  });
  if (r.end == ChildResult::kNoPtrace) GTEST_SKIP() << "no ptrace here";
  EXPECT_EQ(r.message, "");
  EXPECT_EQ(planted, 3);
  EXPECT_EQ(ReadFileBytes(file), newBytes);
  EXPECT_EQ(ReadFileBytes(victim), "not yours");
  EXPECT_FALSE(fs::exists(game.File("made-outside")));
  struct stat info {};
  ASSERT_EQ(lstat(file.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_uid, geteuid());
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(RankingSaveTest, FolderSyncFailureAfterTheRenameSaysTheFileIsInPlace) {
#if defined(__x86_64__)
  bool failing = false;
  const ChildResult r = SaveInChild(player, dir, Always, [&](const Stop& s) {
    user_regs_struct regs{};
    const std::string fd = "/proc/" + std::to_string(s.pid) + "/fd/";
    if (s.Enters(SYS_fsync) &&
        fs::read_symlink(fd + std::to_string(s.info.entry.args[0])) == game.Path()) {
      ptrace(PTRACE_GETREGS, s.pid, nullptr, &regs);
      regs.orig_rax = static_cast<unsigned long long>(-1);  // skip the call...
      ptrace(PTRACE_SETREGS, s.pid, nullptr, &regs);
      failing = true;
    } else if (failing && s.info.op == PTRACE_SYSCALL_INFO_EXIT) {
      ptrace(PTRACE_GETREGS, s.pid, nullptr, &regs);
      regs.rax = static_cast<unsigned long long>(-EIO);  // ...and report EIO
      ptrace(PTRACE_SETREGS, s.pid, nullptr, &regs);
      failing = false;
    }
    return true;
  });
  if (r.end == ChildResult::kNoPtrace) GTEST_SKIP() << "no ptrace here";
  EXPECT_EQ(
      r.message.rfind("the ranking file " + file + " was replaced, but its folder could not " +
                          "be synced (" + std::strerror(EIO) + ")",
                      0),
      0u)
      << r.message;
  EXPECT_EQ(ReadFileBytes(file), newBytes);
#else
  GTEST_SKIP() << "injects the failure through x86-64 registers";
#endif
}

// A disk too full for the new file (each size short of it, and one that fits), or a folder that
// cannot be written (permissions stop root only inside a user namespace of its own): the old
// file stays, and nothing but the lock is left.
TEST_F(RankingSaveTest, AWriteThatCannotBeMadeKeepsTheOldFile) {
  const struct {
    long limit;  // of a file's size; -1: none, but the folder without write permission
    int error;   // 0: saved
  } cases[] = {{0, EFBIG},
               {20, EFBIG},
               {long(newBytes.size()) - 1, EFBIG},
               {long(newBytes.size()), 0},
               {-1, EACCES}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.limit);
    Reset();
    if (c.limit < 0) fs::permissions(dir, fs::perms::owner_write, fs::perm_options::remove);
    const ChildResult r = SaveInChild(player, dir, [&c] {
      if (c.limit < 0) return geteuid() != 0 || unshare(CLONE_NEWUSER) == 0;
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit small{rlim_t(c.limit), rlim_t(c.limit)};
      return setrlimit(RLIMIT_FSIZE, &small) == 0;
    });
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    if (r.message == kNotAllowed) continue;  // no user namespace here
    if (c.error == 0) {
      EXPECT_EQ(r.message, "");
    } else {
      EXPECT_EQ(r.message.rfind("cannot write the ranking file " + file + ": ", 0), 0u);
      EXPECT_NE(r.message.find(std::strerror(c.error)), std::string::npos) << r.message;
    }
    EXPECT_EQ(ReadFileBytes(file), c.error ? oldBytes : newBytes);
    EXPECT_EQ(Others(), c.limit < 0 ? std::vector<std::string>{} : kJustTheLock);
  }
}

// The folder is named without a last separator.
TEST(CheckFolderWritable, NamesTheFolder) {
  for (const auto& [myPath, named] : {std::pair{"/no-such-folder/", "/no-such-folder"},
                                      {"q/", "q"},
                                      {"/no-such-folder/q", "/no-such-folder/q"}}) {
    std::string error;
    try {
      ranking::CheckFolderWritable(myPath);
    } catch (const ranking::SaveError& e) {
      error = e.what();
    }
    EXPECT_EQ(error.substr(0, error.rfind(": ")),
              std::string("the ranking cannot be saved in the game folder ") + named);
  }
}

}  // namespace
