// Play through headless runs: spawning, falling, locking, the shot, hits,
// pop-ups and the bottom-out, as the player sees them.
#include <gtest/gtest.h>

#include <cmath>

#include "support/script_run.h"

namespace {

using nlohmann::json;
using testing_support::GameDir;
using testing_support::RunScript;

// Space in the first pass; play passes follow, 16 ms each.
const std::string kStart = "press 57\ntick 16\n";

std::string Passes(int n, bool withFrames = false) {
  std::string s;
  for (int i = 0; i < n; ++i) s += withFrames ? "tick 16\nstate\nframe\n" : "tick 16\nstate\n";
  return s;
}

bool HasSound(const json& state, const std::string& call) {
  for (const json& s : state["sounds"]) {
    if (s == call) return true;
  }
  return false;
}

TEST(Play, LettersSpawnAtTheirPaceAndPlaceAndFall) {
  GameDir dir("CAT\r\n");
  auto r = RunScript(dir, kStart + Passes(57));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto s = r.States();  // s[k] is after play pass k + 1
  EXPECT_EQ(s[17]["ringTail"], 1);
  // Every 19th pass at level 3 (threshold 297 ms), in the word's row.
  const struct {
    int pass, slot, key;
    double x;
  } spawns[] = {{19, 1, 46, 197.5}, {38, 2, 30, 295}, {57, 3, 20, 392.5}};
  for (const auto& sp : spawns) {
    const json& now = s[sp.pass - 1];
    EXPECT_EQ(now["ringTail"], sp.slot + 1) << sp.pass;
    EXPECT_EQ(s[sp.pass - 2]["ringTail"], sp.slot) << sp.pass;
    const json& t = now["targets"][sp.slot];
    EXPECT_EQ(t["keyCode"], sp.key);
    EXPECT_EQ(t["x"], sp.x);
    EXPECT_EQ(t["vx"], 0.0);
    // Drawn at -37 in its first pass, then moved by 32 px/s.
    EXPECT_NEAR(t["y"].get<double>(), -37 + 0.512, 1e-9);
  }
  EXPECT_EQ(s[56]["pacing"]["spawnClock"], -1020);
  EXPECT_NEAR(s[56]["targets"][1]["y"].get<double>(), -37 + 0.512 * 39, 1e-9);
}

TEST(Play, LockFireHitsScoreWithTheComboAndLeavePopups) {
  GameDir dir("CAT\r\n");
  auto r = RunScript(
      dir, kStart + "tick 16 57\ntype ct\n" + Passes(1, true) + "press 57\n" + Passes(80, true));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto s = r.States();
  const auto f = r.Frames();
  // Locks in typing order, each with the rewound lock sound.
  EXPECT_EQ(s[0]["lockQueue"][0], 1);
  EXPECT_EQ(s[0]["lockQueue"][1], 3);
  EXPECT_EQ(s[0]["lockCount"], 2);
  EXPECT_EQ(s[0]["sounds"], json::array({"sndStart.play", "sndType.rewind", "sndType.play",
                                         "sndType.rewind", "sndType.play"}));
  // Markers on the locked letters; the gauge shows two cells taken.
  int markers = 0, taken = 0, free = 0;
  for (const json& op : f[0]["ops"]) {
    if (op["op"] != "blit" || op["src"] != "sprite") continue;
    const json rect = op["rect"];
    if (rect[0] == 300 && rect[3] == 127 && rect[1] != 127) ++markers;
    if (rect == json::array({300, 127, 332, 143})) ++taken;
    if (rect == json::array({300, 143, 332, 159})) ++free;
  }
  EXPECT_EQ(markers, 2);
  EXPECT_EQ(taken, 2);
  EXPECT_EQ(free, 6);

  EXPECT_EQ(s[1]["shotActive"], true);
  EXPECT_TRUE(HasSound(s[1], "sndShot.play"));
  int firstHit = -1, secondHit = -1, end = -1;
  for (size_t k = 1; k < s.size(); ++k) {
    if (s[k]["score"] == 1 && firstHit < 0) firstHit = static_cast<int>(k);
    if (s[k]["score"] == 3 && secondHit < 0) secondHit = static_cast<int>(k);
    if (s[k]["shotActive"] == false && end < 0) end = static_cast<int>(k);
  }
  ASSERT_GT(firstHit, 0);
  ASSERT_GT(secondHit, firstHit);
  ASSERT_GT(end, secondHit);
  const json& hit = s[firstHit];
  EXPECT_EQ(hit["sounds"], json::array({"sndHit.rewind", "sndHit.play"}));
  EXPECT_EQ(hit["targets"][1]["keyCode"], 0);
  EXPECT_EQ(hit["ringHead"], 2);  // past the hit oldest letter
  EXPECT_EQ(hit["popups"][0]["timeLeft"], 300);
  EXPECT_EQ(hit["popups"][0]["points"], 1);
  EXPECT_EQ(s[secondHit]["combo"], 2);
  EXPECT_EQ(s[secondHit]["ringHead"], 2);  // the letter hit was not the oldest
  EXPECT_EQ(s[secondHit]["popups"][1]["points"], 2);
  EXPECT_EQ(s[secondHit]["lockCount"], 0);
  // The flight ends only once the shot has left the screen; the combo with it.
  EXPECT_EQ(s[end - 1]["combo"], 2);
  EXPECT_EQ(s[end]["combo"], 0);
  EXPECT_EQ(s[end]["score"], 3);
  // A pop-up shows in the 19 frames after its hit.
  int shown = 0;
  for (const json& frame : f) {
    for (const json& op : frame["ops"]) {
      if (op["op"] == "text" && op["text"] == " + 1") ++shown;
    }
  }
  EXPECT_EQ(shown, 19);
}

TEST(Play, DuplicatesLockOldestFirstAndAWrongKeyCosts) {
  GameDir dir("AAA\r\n");
  auto r = RunScript(dir, kStart + "tick 16 57\ntype aa\ntick 16\nstate\ntype a\ntick 16\nstate\n" +
                              "type a\ntick 16\nstate\ntype q\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto s = r.States();
  EXPECT_EQ(s[0]["lockQueue"][0], 1);
  EXPECT_EQ(s[0]["lockQueue"][1], 2);
  EXPECT_EQ(s[1]["lockQueue"][2], 3);
  // A fourth A: every A is locked, so it is a wrong key.
  EXPECT_EQ(s[2]["sounds"], json::array({"sndKyan.play"}));
  EXPECT_EQ(s[2]["level"], 2);
  EXPECT_EQ(s[2]["lockCount"], 3);
  EXPECT_EQ(s[3]["level"], 1);
  EXPECT_EQ(s[3]["maxLevel"], 3);
}

TEST(Play, WithEightLocksFurtherKeysDoNothingAtAll) {
  GameDir dir("AAA\r\n");
  // Nine As are falling by play pass 299.
  auto r = RunScript(dir, kStart + "tick 16 300\ntype aaaaaaaaaq\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json s = r.States().at(0);
  EXPECT_GE(s["ringTail"], 10);
  EXPECT_EQ(s["lockCount"], 8);
  EXPECT_EQ(s["lockTail"], 0);
  EXPECT_EQ(s["level"], 3);
  EXPECT_FALSE(HasSound(s, "sndKyan.play"));
  EXPECT_EQ(s["sounds"].size(), 1u + 16u);
}

TEST(Play, ALetterLostAtTheBottomClearsTheFieldOnThe939thFrame) {
  GameDir dir("CAT\r\n");
  // The first C spawns in play pass 19; 938 frames later it is at 443.256,
  // and the next frame removes it.
  auto r = RunScript(dir, kStart + "tick 16 956\nstate\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto s = r.States();
  EXPECT_NEAR(s[0]["targets"][1]["y"].get<double>(), 443.256, 1e-6);
  EXPECT_EQ(s[0]["level"], 3);
  EXPECT_TRUE(HasSound(s[1], "sndFueen.play"));
  EXPECT_EQ(s[1]["level"], 1);
  EXPECT_EQ(s[1]["maxLevel"], 3);
  EXPECT_EQ(s[1]["ringHead"], 1);
  EXPECT_EQ(s[1]["ringTail"], 1);
  for (const json& t : s[1]["targets"]) EXPECT_EQ(t["keyCode"], 0);
}

}  // namespace
