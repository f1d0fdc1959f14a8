// A round without the window's focus: it stands still and drops the keys typed.
#include <gtest/gtest.h>

#include "support/script_run.h"

namespace {

using nlohmann::json;
using testing_support::GameDir;
using testing_support::RunScript;

TEST(Pause, WithoutTheFocusTheRoundStandsStillAndDropsKeys) {
  GameDir dir("CAT\r\n");
  // Locked letters and a shot in flight, so that everything that moves is
  // moving when the focus goes; keys typed in the pause must not count.
  auto r = RunScript(dir,
                     "press 57\ntick 16\n"
                     "tick 16 120\ntype cat\npress 57\ntick 16 3\nfocus out\ntick 16\n"
                     "state\npress 20 18 57\ntick 16 100\nstate\nframe\n"
                     "focus in\ntick 16\nstate\ntick 16\nstate\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto s = r.States();
  const auto f = r.Frames();
  ASSERT_EQ(s.size(), 4u);
  ASSERT_TRUE(s[0]["shotActive"].get<bool>());
  ASSERT_GT(s[0]["lockCount"], 0);
  // A hundred paused passes change nothing but the clock of the machine.
  json before = s[0];
  json paused = s[1];
  EXPECT_EQ(paused["tickCount"], before["tickCount"].get<int>() + 1600);
  EXPECT_TRUE(paused["sounds"].empty());
  for (json* each : {&before, &paused}) {
    each->erase("tickCount");
    each->erase("sounds");
  }
  EXPECT_EQ(paused, before);
  // The pause panel over the last picture, and the flip.
  ASSERT_EQ(f[0]["ops"].size(), 3u);
  EXPECT_EQ(f[0]["ops"][0]["op"], "box");
  EXPECT_EQ(f[0]["ops"][1]["text"], "PAUSE");
  EXPECT_EQ(f[0]["ops"][2]["op"], "flip");
  // The focus comes back in the message step of a pass; the pass after it
  // plays on with its own 16 ms only.
  EXPECT_EQ(s[2]["roundTime"], s[0]["roundTime"]);
  EXPECT_EQ(s[3]["roundTime"], s[0]["roundTime"].get<int>() + 16);
  EXPECT_EQ(s[3]["level"], s[0]["level"]);
}

}  // namespace
