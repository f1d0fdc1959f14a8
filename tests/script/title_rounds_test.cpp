// The title screen, the round's clock and end, through headless runs.
#include <gtest/gtest.h>

#include "support/script_run.h"

namespace {

using nlohmann::json;
using testing_support::GameDir;
using testing_support::RunScript;

constexpr int kDarkPurple = 102 + 51 * 65536;
constexpr int kPalePink = 255 + 230 * 256 + 230 * 65536;
constexpr int kWhite = 0xFFFFFF;
constexpr int kRed = 255;
constexpr int kResultKey = 30300000;  // level 3, highest level 3, score 0

std::string RankingFile(const std::string& entry, const std::vector<int>& keys,
                        const std::vector<std::string>& names = {}) {
  std::string s = "\"" + entry + "\"\r\n";
  for (size_t i = 0; i < 10; ++i) {
    s += "\"" + (i < names.size() ? names[i] : "P" + std::to_string(i)) + "\"\r\n";
    s += std::to_string(keys.at(i)) + "\r\n";
  }
  return s;
}

std::vector<json> TitleOps(int titleBarFore, const std::string& result,
                           const std::vector<std::pair<std::string, int>>& places) {
  std::vector<json> ops;
  ops.push_back({{"op", "blit"},
                 {"x", 0},
                 {"y", 0},
                 {"src", "background"},
                 {"rect", {0, 0, 0, 0}},
                 {"flags", 16},
                 {"drawn", true}});
  ops.push_back({{"op", "fill"}, {"rgb", kDarkPurple}});
  ops.push_back({{"op", "box"},
                 {"rect", {10, 210, 350, 235}},
                 {"fore", titleBarFore},
                 {"fill", kDarkPurple}});
  ops.push_back({{"op", "fore"}, {"rgb", kWhite}});
  ops.push_back(
      {{"op", "text"}, {"x", 50}, {"y", 213}, {"text", "Rapiko Ver1.03"}, {"fore", kWhite}});
  ops.push_back({{"op", "fill"}, {"rgb", kPalePink}});
  ops.push_back({{"op", "fore"}, {"rgb", kDarkPurple}});
  ops.push_back(
      {{"op", "box"}, {"rect", {10, 235, 350, 470}}, {"fore", kDarkPurple}, {"fill", kPalePink}});
  ops.push_back({{"op", "text"}, {"x", 50}, {"y", 242}, {"text", result}, {"fore", kDarkPurple}});
  for (size_t i = 0; i < places.size(); ++i) {
    const int fore = places[i].second;
    ops.push_back({{"op", "fore"}, {"rgb", fore}});
    ops.push_back({{"op", "text"},
                   {"x", 50},
                   {"y", 260 + 18 * static_cast<int>(i)},
                   {"text", places[i].first},
                   {"fore", fore}});
  }
  ops.push_back({{"op", "fore"}, {"rgb", kDarkPurple}});
  ops.push_back({{"op", "fill"}, {"rgb", kPalePink}});
  ops.push_back(
      {{"op", "text"}, {"x", 100}, {"y", 445}, {"text", "Hit SPACE Key"}, {"fore", kDarkPurple}});
  ops.push_back({{"op", "flip"}});
  return ops;
}

void ExpectOps(const json& frame, const std::vector<json>& expected) {
  const json& ops = frame.at("ops");
  ASSERT_EQ(ops.size(), expected.size()) << ops.dump();
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(ops[i], expected[i]) << "op " << i;
}

TEST(TitleScreen, FirstFrameWithoutRankingFile) {
  GameDir dir("");
  auto r = RunScript(dir, "tick 16\nframe\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::pair<std::string, int>> places;
  for (int i = 1; i <= 10; ++i) places.push_back({std::to_string(i) + "st 0/0  0  ", kRed});
  // The very first title bar has the platform's initial fore colour: black.
  ExpectOps(r.Frames().at(0), TitleOps(0, "3/3  0  ", places));
}

TEST(TitleScreen, SplitsKeysAndMarksPlacesWithTheCurrentScore) {
  GameDir dir("");
  dir.Write("rapikosc.ini",
            RankingFile("ME",
                        {2147483647, 51234567, 40300000, 30400007, 100000, 99999, 0, -1, -123456789,
                         -2147483648},
                        {"AAA", "B,B", "CCC", "DDD", "EEE", "FFF", "", "HHH", "III", "JJJ"}));
  auto r = RunScript(dir, "tick 16\ntick 16\nframe\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::pair<std::string, int>> places = {
      {"1st 214/74  83647  AAA", kDarkPurple},
      {"2st 5/12  34567  B,B", kDarkPurple},
      {"3st 4/3  0  CCC", kRed},
      {"4st 3/4  7  DDD", kDarkPurple},
      {"5st 0/1  0  EEE", kRed},
      {"6st 0/0  99999  FFF", kDarkPurple},
      {"7st 0/0  0  ", kRed},
      {"8st 0/0  -1  HHH", kDarkPurple},
      {"9st -12/-34  -56789  III", kDarkPurple},
      {"10st -214/-74  -83648  JJJ", kDarkPurple},
  };
  ExpectOps(r.Frames().at(0), TitleOps(kDarkPurple, "3/3  0  ", places));
}

TEST(TitleScreen, OnlySpaceAndEscActFiveEventsAFrame) {
  GameDir dir("");
  // Six events of A, then Space: the first frame takes five As, the second
  // the last A up and the Space.
  auto r = RunScript(dir, "press 30 30 30\npress 57\ntick 16\nstate\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto s = r.States();
  EXPECT_EQ(s[0]["gameMode"], 0);
  EXPECT_TRUE(s[0]["sounds"].empty());
  EXPECT_EQ(s[1]["gameMode"], 1);
  EXPECT_EQ(s[1]["sounds"], json::array({"sndStart.play"}));
}

TEST(TitleScreen, EverySpaceOfTheBatchCountsAndEscStillQuits) {
  GameDir dir("");
  auto twice = RunScript(dir, "press 57 57\ntick 16\nstate\n");
  ASSERT_EQ(twice.exitCode, 0) << twice.err;
  EXPECT_EQ(twice.States()[0]["sounds"], json::array({"sndStart.play", "sndStart.play"}));

  auto both = RunScript(dir, "press 1 57\ntick 16\nstate\ntick 16\nstate\n");
  ASSERT_EQ(both.exitCode, 0) << both.err;
  ASSERT_EQ(both.States().size(), 1u);
  EXPECT_EQ(both.States()[0]["gameMode"], 1);
  EXPECT_EQ(both.States()[0]["quitRequested"], true);
}

TEST(TitleScreen, FrameOfTheSpaceStillShowsTheTitleWithResetValues) {
  GameDir dir("");
  auto r = RunScript(dir, "press 57\ntick 16\nframe\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json ops = r.Frames().at(0)["ops"];
  EXPECT_EQ(ops[4]["text"], "Rapiko Ver1.03");
  EXPECT_EQ(ops[8]["text"], "3/3  0  ");
  EXPECT_EQ(r.States()[0]["gameMode"], 1);
  EXPECT_EQ(r.States()[0]["roundTime"], 0);
}

// Play frames: the status box and its three lines in the title's colours.
void ExpectStatus(const json& frame, const std::string& time) {
  const json& ops = frame["ops"];
  std::vector<json> texts;
  bool box = false;
  for (const json& op : ops) {
    if (op["op"] == "box" && op["rect"] == json::array({2, 2, 100, 64})) {
      box = true;
      EXPECT_EQ(op["fore"], kDarkPurple);
      EXPECT_EQ(op["fill"], kPalePink);
    }
    if (op["op"] == "text" && op["x"] == 4) texts.push_back(op);
  }
  EXPECT_TRUE(box);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0]["text"], "LV 3/3");
  EXPECT_EQ(texts[0]["y"], 4);
  EXPECT_EQ(texts[1]["text"], "SC 0");
  EXPECT_EQ(texts[1]["y"], 24);
  EXPECT_EQ(texts[2]["text"], time);
  EXPECT_EQ(texts[2]["y"], 44);
  EXPECT_EQ(texts[2]["fore"], kDarkPurple);
}

TEST(Round, ClockStatusLinesAndEndIntoNameEntry) {
  GameDir dir("");
  auto r = RunScript(dir,
                     "press 57\ntick 16\nstate\n"
                     "tick 16\nframe\n"
                     "tick 984\nframe\n"
                     "tick 1000 119\nframe\nstate\n"
                     "tick 1\nframe\nstate\n"
                     "tick 16\nframe\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto frames = r.Frames();
  auto s = r.States();
  ExpectStatus(frames[0], "Time 120s");
  ExpectStatus(frames[1], "Time 119s");
  EXPECT_EQ(s[1]["roundTime"], 120000);
  ExpectStatus(frames[2], "Time 0s");
  EXPECT_EQ(s[1]["gameMode"], 1);
  // Strictly past 120000: the end sound, the clock back to 0, and this
  // frame's play work still runs with the time line at 120.
  EXPECT_EQ(s[2]["gameMode"], 2);
  EXPECT_EQ(s[2]["roundTime"], 0);
  EXPECT_EQ(s[2]["sounds"], json::array({"sndEnd.play"}));
  ExpectStatus(frames[3], "Time 120s");
  // The next frame is name entry.
  const json& ops = frames[4]["ops"];
  ASSERT_EQ(ops.size(), 8u);
  EXPECT_EQ(ops[1], json({{"op", "fore"}, {"rgb", kDarkPurple}}));
  EXPECT_EQ(ops[2], json({{"op", "box"},
                          {"rect", {50, 395, 400, 445}},
                          {"fore", kDarkPurple},
                          {"fill", kPalePink}}));
  EXPECT_EQ(
      ops[3],
      json(
          {{"op", "text"}, {"x", 60}, {"y", 400}, {"text", "名前を入力:"}, {"fore", kDarkPurple}}));
  EXPECT_EQ(ops[4], json({{"op", "text"},
                          {"x", 60},
                          {"y", 420},
                          {"text", "Enterで決定　Back spaceで一文字消す"},
                          {"fore", kDarkPurple}}));
  EXPECT_EQ(ops[5], json({{"op", "fore"}, {"rgb", kRed}}));
  EXPECT_EQ(ops[6], json({{"op", "text"}, {"x", 180}, {"y", 400}, {"text", ""}, {"fore", kRed}}));
  EXPECT_EQ(ops[7]["op"], "flip");
  EXPECT_EQ(s[3]["gameMode"], 2);
}

const char* kFullRound = "press 57\ntick 16\ntick 60000 2\ntick 1\n";

TEST(Round, ATieWithTheTenthPlaceGoesBackToTheTitle) {
  GameDir dir("");
  std::vector<int> keys(10, kResultKey);
  dir.Write("rapikosc.ini", RankingFile("", keys));
  auto tie = RunScript(dir, std::string(kFullRound) + "state\n");
  ASSERT_EQ(tie.exitCode, 0) << tie.err;
  EXPECT_EQ(tie.States()[0]["gameMode"], 0);

  keys[9] = kResultKey - 1;
  dir.Write("rapikosc.ini", RankingFile("", keys));
  auto beat = RunScript(dir, std::string(kFullRound) + "state\n");
  ASSERT_EQ(beat.exitCode, 0) << beat.err;
  EXPECT_EQ(beat.States()[0]["gameMode"], 2);
}

TEST(Round, TitleAfterARoundMarksEqualScoresAndKeepsTheNameEntryRed) {
  GameDir dir("");
  dir.Write("rapikosc.ini", RankingFile("Q", {50000000, 40000000, 0, 0, 0, 0, 0, 0, 0, 0}));
  auto r = RunScript(dir, std::string(kFullRound) + "press 28\ntick 16\ntick 16\nframe\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::pair<std::string, int>> places = {
      {"1st 5/0  0  P0", kRed}, {"2st 4/0  0  P1", kRed}, {"3st 3/3  0  Q", kRed}};
  for (int i = 3; i < 10; ++i) {
    places.push_back({std::to_string(i + 1) + "st 0/0  0  P" + std::to_string(i - 1), kRed});
  }
  ExpectOps(r.Frames()[0], TitleOps(kRed, "3/3  0  ", places));
}

}  // namespace
