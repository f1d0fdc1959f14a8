// Name entry and the insertion of a result, through headless runs.
#include <gtest/gtest.h>

#include "support/script_run.h"

namespace {

using nlohmann::json;
using testing_support::GameDir;
using testing_support::RunScript;

constexpr int kResultKey = 30300000;  // level 3, highest level 3, score 0

std::string RankingFile(const std::string& entry, const std::vector<int>& keys) {
  std::string s = "\"" + entry + "\"\r\n";
  for (size_t i = 0; i < 10; ++i) {
    s += "\"P" + std::to_string(i) + "\"\r\n" + std::to_string(keys.at(i)) + "\r\n";
  }
  return s;
}

// A round with no words ends after 120001 ms; with a ranking that the
// result beats, the next frame is name entry.
const char* kToNameEntry = "press 57\ntick 16\ntick 60000 2\ntick 1\n";

TEST(NameEntry, EditsInOneFrameThenBackspaceInTheNext) {
  GameDir dir("");
  dir.Write("rapikosc.ini", RankingFile("XY", std::vector<int>(10, 0)));
  auto r = RunScript(dir, std::string(kToNameEntry) +
                              "press 30 48 14\ntick 16\nstate\npress 14\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["entryName"], "XYA");
  EXPECT_EQ(r.States()[1]["entryName"], "XY");
  EXPECT_EQ(r.States()[1]["gameMode"], 2);
}

TEST(NameEntry, NamesAreCutToTenCharactersEachFrame) {
  GameDir dir("");
  dir.Write("rapikosc.ini", RankingFile("ABCDEFGHIJKL", std::vector<int>(10, 0)));
  auto r = RunScript(
      dir, std::string(kToNameEntry) +
               "tick 16\nstate\ntype m\ntick 16\nstate\npress 14\ntype n\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["entryName"], "ABCDEFGHIJ");
  EXPECT_EQ(r.States()[1]["entryName"], "ABCDEFGHIJ");
  EXPECT_EQ(r.States()[2]["entryName"], "ABCDEFGHIN");
}

TEST(NameEntry, NumberPadKeysTypeTheirCharacters) {
  GameDir dir("");
  auto r =
      RunScript(dir, std::string(kToNameEntry) + "press 71 78 83 82 74 55 57 42\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["entryName"], "7+.0-");
}

TEST(NameEntry, EnterOnTheKeptNameInsertsUnderIt) {
  GameDir dir("");
  dir.Write("rapikosc.ini", RankingFile("KEPT", std::vector<int>(10, 0)));
  auto r = RunScript(dir, std::string(kToNameEntry) + "press 28\ntick 16\nstate\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto s = r.States();
  EXPECT_EQ(s[0]["gameMode"], 0);
  EXPECT_EQ(s[0]["entryDone"], true);
  EXPECT_EQ(s[0]["rankKeys"][0], kResultKey);
  EXPECT_EQ(s[0]["rankNames"][0], "KEPT");
  EXPECT_EQ(s[0]["rankNames"][1], "P0");
  EXPECT_EQ(s[0]["rankNames"][9], "P8");
  EXPECT_EQ(s[1]["entryDone"], true);
  // The file holds the new ranking and the name.
  const std::string file = dir.Read("rapikosc.ini");
  EXPECT_EQ(file.rfind("\"KEPT\"\r\n\"KEPT\"\r\n30300000\r\n\"P0\"\r\n0\r\n", 0), 0u) << file;
}

TEST(NameEntry, KeysAfterEnterInTheSameFrameStillEdit) {
  GameDir dir("");
  dir.Write("rapikosc.ini", RankingFile("AB", std::vector<int>(10, 0)));
  auto r = RunScript(dir, std::string(kToNameEntry) + "press 46 28 14 14 32\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["rankNames"][0], "AD");
  EXPECT_EQ(r.States()[0]["entryName"], "AD");
}

TEST(NameEntry, EscQuitsWithoutInsertingButSavesTheName) {
  GameDir dir("");
  dir.Write("rapikosc.ini", RankingFile("", std::vector<int>(10, 0)));
  auto r = RunScript(dir, std::string(kToNameEntry) + "type zz\npress 1\ntick 16\ntick 16\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string file = dir.Read("rapikosc.ini");
  EXPECT_EQ(file, RankingFile("ZZ", std::vector<int>(10, 0)));
}

struct Insertion {
  std::vector<int> before;
  std::vector<int> after;
  std::vector<std::string> names;
};

TEST(NameEntry, InsertionAtEachKindOfPlace) {
  const int k = kResultKey;
  const std::vector<Insertion> cases = {
      // Better than all: everything moves down, the old tenth is gone.
      {{10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
       {k, 10, 9, 8, 7, 6, 5, 4, 3, 2},
       {"N", "P0", "P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8"}},
      // Equal keys stay above the new result.
      {{k + 5, k, k, k, 7, 6, 5, 4, 3, 2},
       {k + 5, k, k, k, k, 7, 6, 5, 4, 3},
       {"P0", "P1", "P2", "P3", "N", "P4", "P5", "P6", "P7", "P8"}},
      // Beats only the tenth: it alone is replaced.
      {{k + 9, k + 8, k + 7, k + 6, k + 5, k + 4, k + 3, k + 2, k + 1, k - 1},
       {k + 9, k + 8, k + 7, k + 6, k + 5, k + 4, k + 3, k + 2, k + 1, k},
       {"P0", "P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "N"}},
  };
  for (const Insertion& c : cases) {
    GameDir dir("");
    dir.Write("rapikosc.ini", RankingFile("N", c.before));
    auto r = RunScript(dir, std::string(kToNameEntry) + "press 28\ntick 16\nstate\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json s = r.States().at(0);
    EXPECT_EQ(s["rankKeys"], json(c.after));
    EXPECT_EQ(s["rankNames"], json(c.names));
  }
}

TEST(NameEntry, NamesTheFontCannotShowAreDrawnAndDumpedSafely) {
  GameDir dir("");
  std::string ranking = "\"\xff\x01\x80\"\r\n";
  for (int i = 0; i < 10; ++i) ranking += "\"\xe3\x81\x82\x07\"\r\n0\r\n";
  dir.Write("rapikosc.ini", ranking);
  auto r = RunScript(dir, std::string("tick 16\nstate\n") + kToNameEntry + "tick 16\nframe\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.States()[0]["entryName"], "\u00ff\u0001\u0080");
  EXPECT_EQ(r.States()[0]["rankNames"][0], "\u3042\u0007");
  bool shown = false;
  const json ops = r.Frames().at(0)["ops"];
  for (const json& op : ops) {
    if (op["op"] == "text" && op["x"] == 180) shown = op["text"] == "\u00ff\u0001\u0080";
  }
  EXPECT_TRUE(shown);
}

}  // namespace
