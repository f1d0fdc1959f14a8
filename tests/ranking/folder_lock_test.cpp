// The folder lock: a second holder waits for the first; planted links and FIFOs are refused at
// once.
#include "ranking/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;

TEST(FolderLockTest, ASecondHolderWaitsForTheFirst) {
  testing_support::GameDir game("");
  const std::string dir = game.Path() + "/";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    ranking::FolderLock lock(dir);
    if (write(ready[1], "x", 1) != 1) _exit(1);
    usleep(300 * 1000);
    game.Write("released", "");  // written while the lock is still held
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  {
    ranking::FolderLock lock(dir);
    EXPECT_TRUE(lock.Held());
    EXPECT_TRUE(game.Exists("released"));
  }
  waitpid(holder, nullptr, 0);
  ranking::FolderLock again(dir);  // released by the destructor above
  EXPECT_TRUE(again.Held());
}

TEST(FolderLockTest, PlantedLinkOrFifoIsRefusedWithoutFollowingOrBlocking) {
  testing_support::GameDir game("");
  const std::string lock = game.File("rapikosc.ini.lock");
  const std::function<void()> plants[] = {
      [&] { fs::create_symlink(game.File("outside"), lock); },
      [&] { mkfifo(lock.c_str(), 0644); },
  };
  for (const auto& plant : plants) {
    game.Remove("rapikosc.ini.lock");
    plant();
    EXPECT_THROW(ranking::FolderLock(game.Path() + "/"), ranking::LockError);
    EXPECT_FALSE(game.Exists("outside"));
  }
}

}  // namespace
