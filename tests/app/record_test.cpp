// --record: never onto a file the game keeps, by any name of it, never waiting on a FIFO (a killed
// session keeps every pass: tests/replay/); another name of the player's own file keeps its bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

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
  struct Case {
    std::string record;
    std::vector<std::string> more;
    std::string said = "is a file the game keeps";
  };
  const Case cases[] = {
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
  // Hard links to kept files, here and in another folder, among them a shipped word list.
  const std::string shipped = fs::path(RAPIKO_BINARY).parent_path().string() + "/words/english.ini";
  ASSERT_TRUE(fs::exists(shipped));
  GameDir elsewhere("");
  std::vector<Case> all(std::begin(cases), std::end(cases));
  for (const std::string& kept : {dir.File("rankings/digits.ini"), dir.File("words/owl.ini"),
                                  dir.File("replays/best-20260101-000000-5.script"), shipped})
    for (const std::string& link : {dir.File("hard" + std::to_string(all.size())),
                                    elsewhere.File("hard" + std::to_string(all.size()))}) {
      fs::create_hard_link(kept, link);
      all.push_back({link, {}});
    }
  all.push_back({shipped, {}});
  const std::string shippedBytes = testing_support::ReadFileBytes(shipped);
  const auto before = files();
  for (const auto& c : all) {
    std::vector<std::string> args = {"--record", c.record};
    args.insert(args.end(), c.more.begin(), c.more.end());
    const auto r = testing_support::RunScript(dir, "tick 16\n", args);
    const bool refused = c.said.starts_with("is a");
    EXPECT_EQ(r.exitCode, refused ? 2 : 1) << c.record;
    EXPECT_EQ(r.err.rfind(refused ? "rapiko: --record " + c.record + " " + c.said : c.said, 0), 0u)
        << r.err;
    EXPECT_EQ(files(), before) << c.record;
  }
  EXPECT_EQ(testing_support::ReadFileBytes(shipped), shippedBytes);
  // A file of the player's own: the recording takes the name given, the other name keeps it.
  elsewhere.Write("mine", "mine\n");
  fs::create_hard_link(elsewhere.File("mine"), elsewhere.File("other"));
  const auto r =
      testing_support::RunScript(dir, "tick 16\n", {"--record", elsewhere.File("other")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(elsewhere.Read("mine"), "mine\n");
  EXPECT_NE(elsewhere.Read("other").find("tick 16"), std::string::npos);
  if (config) {
    setenv("XDG_CONFIG_HOME", configBefore.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
