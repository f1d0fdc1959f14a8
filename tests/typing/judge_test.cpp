// Locks in a damaged state (keys in play, one batch a pass: the golden games play_*, bot_*).
#include "typing/judge.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace {

using testing_support::Rig;

const int32_t kA = Rig::CodeOf('A');

// A lock goes only to a ring slot, and never through a damaged queue tail
// (which would write outside the queue).
TEST(Judge, NoLockOutsideTheRingOrPastADamagedTail) {
  const struct {
    int16_t slot, tail;
    bool locks;
  } cases[] = {
      {1, 0, true},   {state::kRingLast, 0, true},
      {0, 0, false},  {state::kRingLast + 1, 0, false},
      {1, -1, false}, {1, state::kLockSlots, false},
  };
  for (const auto& c : cases) {
    Rig r;
    r.g.targets[static_cast<std::size_t>(c.slot)].keyCode = static_cast<int16_t>(kA);
    r.g.lockTail = c.tail;
    EXPECT_EQ(typing::TryLock(r.g, c.slot, static_cast<int16_t>(kA)), c.locks) << c.slot;
    EXPECT_EQ(r.g.lockCount, c.locks ? 1 : 0) << c.slot;
  }
}

}  // namespace
