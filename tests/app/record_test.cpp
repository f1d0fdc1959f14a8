// --record: never onto a file the game keeps, never waiting on a FIFO, every pass kept when killed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;
using testing_support::LiveRun;
using testing_support::RunScript;

TEST(Record, OntoAFileTheGameKeepsIsRefusedAndTheFileKept) {
  GameDir dir;
  dir.Write("rapikosc.ini", "\"KEEP\"\r\n");
  dir.Write("rapiko-history.csv", "history\n");
  dir.Write("mine.ini", "OWL\n");
  dir.Folder("rankings");
  dir.Write("rankings/digits.ini", "\"KEEP\"\r\n");
  dir.Folder("words");
  dir.Write("words/owl.ini", "OWL\n");
  dir.Folder("replays");
  dir.Write("replays/best-20260101-000000-5.script", "start 1\n");
  const auto keptBytes = [&dir] {
    std::vector<std::string> bytes;
    for (const char* name :
         {"rapikosc.ini", "rapiko-history.csv", "rapdata.ini", "mine.ini", "rankings/digits.ini",
          "words/owl.ini", "replays/best-20260101-000000-5.script", "config/rapiko/settings.ini"}) {
      bytes.push_back(dir.Read(name));
    }
    return bytes;
  };
  fs::create_symlink(dir.File("rapikosc.ini"), dir.File("link"));
  // The player's settings, outside the game folder.
  dir.Folder("config/rapiko");
  dir.Write("config/rapiko/settings.ini", "sound=off\n");
  const char* const config = std::getenv("XDG_CONFIG_HOME");
  const std::string configBefore = config ? config : "";
  setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  const struct {
    std::string record;
    std::vector<std::string> more;
  } cases[] = {
      {dir.File("rapikosc.ini"), {}},
      {dir.Path() + "/../" + fs::path(dir.Path()).filename().string() + "/rapikosc.ini", {}},
      {dir.File("link"), {}},
      {dir.File("rapikosc.ini.bak"), {}},  // not there yet, but the game makes it
      {dir.File("rapiko-history.csv"), {}},
      {dir.File("rapdata.ini"), {}},
      {dir.File("back.bmp"), {}},
      {dir.File("mine.ini"), {"--words", dir.File("mine.ini")}},
      // the ranking of the list played, and of any other the options may choose
      {dir.File("rankings/digits.ini"), {"--words", "digits"}},
      {dir.File("rankings/mine.ini.bak"), {}},
      // a word list the options offer, and a kept best round
      {dir.File("words/owl.ini"), {}},
      {dir.File("replays/best-20260101-000000-5.script"), {}},
      {dir.File("config/rapiko/settings.ini"), {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--record", c.record};
    args.insert(args.end(), c.more.begin(), c.more.end());
    const auto before = keptBytes();
    const auto r = RunScript(dir, "tick 16\n", args);
    EXPECT_EQ(r.exitCode, 2) << c.record;
    EXPECT_EQ(r.err.rfind("rapiko: --record " + c.record + " is a file the game keeps", 0), 0u)
        << r.err;
    EXPECT_EQ(keptBytes(), before);
    EXPECT_FALSE(dir.Exists("rapikosc.ini.bak"));
  }
  if (config) {
    setenv("XDG_CONFIG_HOME", configBefore.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

TEST(Record, ToAFifoFailsAtOnce) {
  GameDir dir;
  mkfifo(dir.File("fifo").c_str(), 0644);
  const auto r = RunScript(dir, "tick 16\n", {"--record", dir.File("fifo")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "cannot write the recording " + dir.File("fifo") + ": not a plain file\n");
}

// A session that is killed leaves every pass it played, the last run of
// passes included.
TEST(Record, AKilledSessionKeepsEveryPass) {
  GameDir dir;
  LiveRun run({"--headless", "--script", "-", "--dir", dir.Path(), "--record", dir.File("r")});
  run.Send("start 9\npress 57\ntick 16\ntick 16 40\nstate\n");
  ASSERT_TRUE(run.ReadLine());
  run.Signal(SIGKILL);
  run.Finish();
  const std::string recording = dir.Read("r");
  EXPECT_EQ(recording.substr(recording.find("start 9")), "start 9\ndown 57\nup 57\ntick 16 41\n");
}

}  // namespace
