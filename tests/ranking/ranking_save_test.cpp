// Tests of loading and saving the ranking file on disk, and of keeping the old file on failure.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "ranking/ranking_file.h"

namespace {

namespace fs = std::filesystem;

class RankingSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "rapiko-rank-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern + "/";
    file = dir + "rapikosc.ini";
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
  }
  // Saves and returns the error's message, or "" when it succeeded.
  std::string TrySave(const core::GameState& g) const {
    try {
      ranking::SaveRanking(g, dir);
    } catch (const ranking::SaveError& e) {
      return e.what();
    }
    return "";
  }
  std::string Message(int error) const {
    return "cannot write the ranking file " + file + ": " + std::strerror(error);
  }

  core::GameState Sample() const {
    core::GameState g;
    g.entryName = "ZED";
    for (int i = 0; i < 10; ++i) {
      g.rankNames[i] = "P" + std::to_string(i);
      g.rankKeys[i] = 50000000 - 1000 * i;
    }
    g.rankNames[2] = "A,B";
    g.rankKeys[9] = -7;
    return g;
  }

  std::string dir;
  std::string file;
};

TEST_F(RankingSaveTest, SaveThenLoadGivesTheSameValues) {
  const core::GameState g = Sample();
  ranking::SaveRanking(g, dir);
  EXPECT_EQ(Read(file), ranking::RankingFileBytes(g));
  EXPECT_EQ(Entries(), std::vector<std::string>{"rapikosc.ini"});  // no temporary left

  core::GameState back;
  ranking::LoadRanking(back, dir);
  EXPECT_EQ(back.entryName, "ZED");
  EXPECT_EQ(back.rankNames, g.rankNames);
  EXPECT_EQ(back.rankKeys, g.rankKeys);
}

TEST_F(RankingSaveTest, SaveReplacesAnOlderFile) {
  std::ofstream(file, std::ios::binary)
      << "old contents that are longer than the new ones will be, surely";
  core::GameState g;
  ranking::SaveRanking(g, dir);
  EXPECT_EQ(Read(file).substr(0, 4), "\"\"\r\n");
  EXPECT_EQ(Read(file), ranking::RankingFileBytes(g));
}

TEST_F(RankingSaveTest, NoFileLeavesTheRankingAsItWas) {
  core::GameState g = Sample();
  ranking::LoadRanking(g, dir);
  EXPECT_EQ(g.entryName, "ZED");
  EXPECT_EQ(g.rankKeys[9], -7);
  core::GameState fresh;
  ranking::LoadRanking(fresh, dir);
  EXPECT_EQ(fresh.entryName, "");
  EXPECT_EQ(fresh.rankKeys, (std::array<int32_t, 10>{}));
}

TEST_F(RankingSaveTest, ReadOnlyFolderKeepsTheOldFile) {
  if (geteuid() == 0)
    GTEST_SKIP() << "permissions do not stop root; the write-limit test covers this";
  const std::string old = ranking::RankingFileBytes(Sample());
  std::ofstream(file, std::ios::binary) << old;
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
  core::GameState g;
  EXPECT_EQ(TrySave(g), Message(EACCES));
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(Read(file), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"rapikosc.ini"});
}

TEST_F(RankingSaveTest, FailedWriteKeepsTheOldFileAndRemovesTheTemporary) {
  // A file-size limit makes the write fall short, as a full disk would; it
  // stops root as well.
  const std::string old = "\"KEEP\"\r\n";
  std::ofstream(file, std::ios::binary) << old;
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 20;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string message = TrySave(Sample());  // nothing printed while the limit holds
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(message, Message(EFBIG));
  EXPECT_EQ(Read(file), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"rapikosc.ini"});
}

TEST_F(RankingSaveTest, FailedRenameRemovesTheTemporary) {
  fs::create_directory(file);  // the name is taken by a folder with something in it
  std::ofstream(file + "/inside", std::ios::binary) << "x";
  const std::string message = TrySave(Sample());
  EXPECT_EQ(message.rfind("cannot write the ranking file " + file + ": ", 0), 0u) << message;
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(Read(file + "/inside"), "x");
  EXPECT_EQ(Entries(), std::vector<std::string>{"rapikosc.ini"});
}

TEST_F(RankingSaveTest, FolderThatIsAFile) {
  std::ofstream(dir + "plain", std::ios::binary) << "x";
  const std::string notAFolder = dir + "plain/";
  try {
    ranking::SaveRanking(core::GameState{}, notAFolder);
    ADD_FAILURE() << "saved into a file";
  } catch (const ranking::SaveError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot write the ranking file " + notAFolder +
                                         "rapikosc.ini: " + std::strerror(ENOTDIR));
  }
  EXPECT_EQ(Read(dir + "plain"), "x");
}

}  // namespace

namespace {

TEST_F(RankingSaveTest, ASaveRemovesTemporariesOfGamesThatDied) {
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  const std::string stale = file + ".tmp-" + std::to_string(dead);
  const std::string live = file + ".tmp-" + std::to_string(getppid());
  const std::string other = file + ".tmp-notapid";
  for (const std::string& p : {stale, live, other}) std::ofstream(p) << "partial";
  core::GameState g;
  ranking::SaveRanking(g, dir);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_EQ(Read(file), ranking::RankingFileBytes(g));
}

}  // namespace
