// --record: never onto a file the game keeps, never waiting on a FIFO (a killed session keeps
// every pass: tests/replay/).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;

TEST(Record, OntoAFileTheGameKeepsOrAFifoIsRefusedAndEveryFileKept) {
  GameDir dir;
  for (const char* folder : {"rankings", "words", "replays", "config/rapiko"}) dir.Folder(folder);
  for (const char* file :
       {"rapikosc.ini", "rapiko-history.csv", "mine.ini", "rankings/digits.ini", "words/owl.ini",
        "replays/best-20260101-000000-5.script", "config/rapiko/settings.ini"})
    dir.Write(file, "OWL\n");
  fs::create_symlink(dir.File("rapikosc.ini"), dir.File("link"));
  mkfifo(dir.File("fifo").c_str(), 0644);
  const auto files = [&dir] {
    std::map<std::string, std::string> bytes;
    for (const auto& e : fs::recursive_directory_iterator(dir.Path()))
      if (e.is_regular_file() && e.path().filename() != "script.txt")
        bytes[e.path().string()] = dir.Read(fs::relative(e.path(), dir.Path()).string());
    return bytes;
  };
  // The player's settings, outside the game folder.
  const char* const config = std::getenv("XDG_CONFIG_HOME");
  const std::string configBefore = config ? config : "";
  setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  const struct {
    std::string record;
    std::vector<std::string> more;
    std::string said = "is a file the game keeps";
  } cases[] = {
      {dir.File("rapikosc.ini"), {}},
      {dir.Path() + "/../" + fs::path(dir.Path()).filename().string() + "/rapikosc.ini", {}},
      {dir.File("link"), {}},
      {dir.File("rapikosc.ini.bak"), {}},  // not there yet, but the game makes it
      {dir.File("rapikosc.ini.lock"), {}},
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
      {dir.File("fifo"),
       {},
       "cannot write the recording " + dir.File("fifo") + ": not a plain file"},
  };
  const auto before = files();
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--record", c.record};
    args.insert(args.end(), c.more.begin(), c.more.end());
    const auto r = testing_support::RunScript(dir, "tick 16\n", args);
    const bool refused = c.said.starts_with("is a");
    EXPECT_EQ(r.exitCode, refused ? 2 : 1) << c.record;
    EXPECT_EQ(r.err.rfind(refused ? "rapiko: --record " + c.record + " " + c.said : c.said, 0), 0u)
        << r.err;
    EXPECT_EQ(files(), before) << c.record;
  }
  if (config) {
    setenv("XDG_CONFIG_HOME", configBefore.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
