// Keys in play, one batch at a time: locks on the oldest match, shots, wrong keys, Esc.
#include "typing/judge.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/fakes.h"

namespace {

using testing_support::Rig;

const int32_t kA = Rig::CodeOf('A');
const int32_t kB = Rig::CodeOf('B');

// The lock count, the lock queue's slots in order, the round's locks, wrong keys and shots,
// whether a shot flies, whether the game is to end, the level.
using After =
    std::tuple<int16_t, std::vector<int16_t>, int32_t, int32_t, int32_t, bool, bool, int16_t>;

// Letters A, A, B in ring slots 1 to 3 (oldest first); one batch of keys,
// each pressed (or, as a negative code, let go).
After Play(const std::vector<int32_t>& keys, int16_t lockCount = 0) {
  Rig r;
  r.g.lockCount = lockCount;
  const int32_t codes[] = {kA, kA, kB};
  for (int i = 0; i < 3; ++i) r.g.targets[static_cast<std::size_t>(i + 1)].keyCode = codes[i];
  r.g.ringTail = 4;
  for (const int32_t k : keys) {
    r.keys->queue.push_back({k < 0 ? -k : k, k < 0 ? 0 : media::kKeyDown, 0, 0});
  }
  typing::ReadPlayKeys(r.g);
  std::vector<int16_t> locked;
  for (int i = 0; i < r.g.lockTail; ++i)
    locked.push_back(r.g.lockQueue[static_cast<std::size_t>(i)]);
  const state::RoundCounts& c = r.g.progress.round;
  return {r.g.lockCount, locked,         c.locks,           c.wrongKeys,
          c.shots,       r.g.shotActive, r.g.quitRequested, r.g.level};
}

TEST(Judge, EachKeyOfTheBatch) {
  const int32_t space = state::kKeySpace, enter = state::kKeyEnter, esc = state::kKeyEsc;
  const struct {
    const char* what;
    std::vector<int32_t> keys;
    After after;
  } cases[] = {
      {"nothing", {}, {0, {}, 0, 0, 0, false, false, 3}},
      {"the oldest A", {kA}, {1, {1}, 1, 0, 0, false, false, 3}},
      {"each A once, then A is wrong", {kA, kA, kA}, {2, {1, 2}, 2, 1, 0, false, false, 2}},
      {"a letter let go", {-kA}, {0, {}, 0, 0, 0, false, false, 3}},
      {"no letter C", {Rig::CodeOf('C')}, {0, {}, 0, 1, 0, false, false, 2}},
      {"Space without a lock", {space}, {0, {}, 0, 0, 0, false, false, 3}},
      {"Space after a lock", {kB, space}, {1, {3}, 1, 0, 1, true, false, 3}},
      {"Enter fires, Space again does not", {kB, enter, space}, {1, {3}, 1, 0, 1, true, false, 3}},
      {"Esc, and the batch goes on", {esc, kA}, {1, {1}, 1, 0, 0, false, true, 3}},
  };
  for (const auto& c : cases) EXPECT_EQ(Play(c.keys), c.after) << c.what;
  // A full lock queue turns letters away unjudged: no lock, no wrong key.
  EXPECT_EQ(Play({kA, Rig::CodeOf('C')}, state::kLockSlots),
            After(state::kLockSlots, {}, 0, 0, 0, false, false, 3));
  EXPECT_EQ(std::get<2>(Play({kA}, state::kLockSlots - 1)), 1);
}

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
