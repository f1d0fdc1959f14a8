// A round's start as a best round notes it, read back field by field.
#include "replay/round_start.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/fakes.h"

namespace {

TEST(RoundStart, TheNoteGivesBackEveryFieldAsItWas) {
  testing_support::Rig from;
  state::GameState& g = from.g;
  // Each field its own value, so that two read in each other's places show.
  g.pacing = {1.25, -2.5, 3, 4.75, 5.5, 6, 7, 8, 9, -10};
  g.rng.SetState({11, 12, 13, 14});
  g.hasFocus = false;
  g.roundTime = 15;
  const std::string note = replay::ResumeNote(g);

  testing_support::Rig to;
  ASSERT_TRUE(replay::ApplyResume(to.g, note)) << note;
  const state::Pacing& p = to.g.pacing;
  EXPECT_EQ(
      std::tuple(p.shotStepX, p.shotStepY, p.spawnClock, p.fpsValue, p.fpsFrames, p.fpsClock,
                 p.letterPos, p.wordIndex, p.wordX, p.wordVx),
      std::tuple(1.25, -2.5, 3, 4.75, 5.5, 6, int16_t(7), int16_t(8), int16_t(9), int16_t(-10)));
  EXPECT_EQ(to.g.rng.State(), g.rng.State());
  EXPECT_FALSE(to.g.hasFocus);
  EXPECT_EQ(to.g.roundTime, 15);
  EXPECT_EQ(to.g.gameMode, state::kModePlaying);

  EXPECT_FALSE(replay::ApplyResume(to.g, "resume {\"rng\":[1,2,3,4]}"));  // fields missing
  EXPECT_FALSE(replay::ApplyResume(to.g, "round {}"));
}

}  // namespace
