// Tests of the judgement of key presses during play: locks, wrong keys, firing and the key batch.
#include "typing/judge.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "support/fakes.h"

namespace {

using testing_support::Rig;
using Log = std::vector<std::string>;
using Slots = std::vector<int16_t>;

constexpr int16_t kA = 30, kB = 48, kOne = 2;

// Puts letters into ring slots from head on (wrapping past 99) and makes them the live part.
void Field(Rig& r, int16_t head, std::initializer_list<int16_t> codes) {
  r.g.ringHead = r.g.ringTail = head;
  for (const int16_t code : codes) {
    r.g.targets[r.g.ringTail].keyCode = code;
    r.g.ringTail = r.g.ringTail == 99 ? 1 : static_cast<int16_t>(r.g.ringTail + 1);
  }
}

Slots Locks(const Rig& r) { return {r.g.lockQueue.begin(), r.g.lockQueue.begin() + 8}; }

TEST(Judge, EqualLettersLockOldestFirstAndALockedLetterPressedAgainIsWrong) {
  Rig r;
  Field(r, 1, {kA, kB, kA});
  r.g.hitCount = 7;
  r.g.combo = 2;
  r.g.score = 40;
  for (int16_t key : {kA, kA, kB}) typing::JudgeKey(r.g, key);
  EXPECT_EQ(Locks(r), (Slots{1, 3, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::tuple(r.g.lockTail, r.g.lockCount, r.g.level), std::tuple(3, 3, 3));
  EXPECT_EQ(r.sounds.size(), 6u);
  EXPECT_EQ(Log(r.sounds.end() - 2, r.sounds.end()), (Log{"sndType.rewind", "sndType.play"}));
  r.sounds.clear();
  typing::JudgeKey(r.g, kB);                   // the only B is locked already
  EXPECT_EQ(r.sounds, (Log{"sndKyan.play"}));  // no rewind for the wrong-key cue
  EXPECT_EQ(std::tuple(r.g.hitCount, r.g.level, r.g.maxLevel, r.g.combo, r.g.score, r.g.lockCount),
            std::tuple(0, 2, 3, 2, 40, 3));
}

TEST(Judge, AWrappedRingIsTriedOldestFirstAndEightLocksTurnKeysAway) {
  Rig r;
  Field(r, 97, {kA, kA, kA, kA, kA, kA, kA, kA, kA});  // 97, 98, 99, 1 to 6
  r.g.targets[96].keyCode = kA;                        // before the live part
  for (int i = 0; i < 8; ++i) typing::JudgeKey(r.g, kA);
  EXPECT_EQ(Locks(r), (Slots{97, 98, 99, 1, 2, 3, 4, 5}));
  EXPECT_EQ(std::tuple(r.g.lockCount, r.g.lockTail), std::tuple(8, 0));
  r.sounds.clear();
  r.g.hitCount = 5;
  typing::JudgeKey(r.g, kA);  // would lock slot 6
  typing::JudgeKey(r.g, kB);  // would be wrong
  EXPECT_EQ(Locks(r), (Slots{97, 98, 99, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(r.sounds.empty());
  EXPECT_EQ(std::tuple(r.g.lockCount, r.g.hitCount, r.g.level), std::tuple(8, 5, 3));
}

TEST(Judge, FireOnlyWithALockAndNoShotInFlight) {
  Rig r;
  typing::FireShot(r.g);
  EXPECT_FALSE(r.g.shotActive);
  r.g.lockCount = 1;
  r.g.shotActive = true;
  r.sounds.clear();
  typing::FireShot(r.g);
  EXPECT_TRUE(r.sounds.empty());
  r.g.shotActive = false;
  for (auto& p : r.g.shotTrail) p = {5.0, 6.0};
  typing::FireShot(r.g);
  EXPECT_EQ(r.sounds, (Log{"sndShot.play"}));
  EXPECT_EQ(std::tuple(r.g.shotActive, r.g.lockCount), std::tuple(true, 1));
  for (int i = 0; i <= 9; ++i)
    EXPECT_EQ(std::tuple(r.g.shotTrail[i].x, r.g.shotTrail[i].y), std::tuple(320.0, 470.0));
}

TEST(Judge, TheBatchIsHandledInOrder) {
  for (int fire : {57, 28}) {  // Space or Enter
    Rig r;
    Field(r, 1, {kA, kB});
    r.keys->Up(kB);                            // a release does nothing
    r.keys->queue.push_back({0, 128, 0, 0});   // nor does code 0
    r.keys->queue.push_back({kB, 129, 0, 0});  // nor data other than exactly 128
    r.keys->Press(1);                          // Esc: quit, and the batch goes on
    r.keys->Press(kA);
    r.keys->Press(fire);  // fires at the letter just locked
    typing::ReadPlayKeys(r.g);
    EXPECT_EQ(r.sounds, (Log{"sndType.rewind", "sndType.play", "sndShot.play"})) << fire;
    EXPECT_EQ(std::tuple(r.g.quitRequested, r.g.shotActive, r.g.level), std::tuple(true, true, 3));
  }
}

TEST(Judge, KeysNoLetterCarriesAreWrongDownToLevelZero) {
  Rig r;
  Field(r, 1, {kOne});
  r.g.hitCount = 4;
  for (int key : {42, 79, 14, 200}) r.keys->Press(key);  // Shift, number-pad 1, Backspace, up
  typing::ReadPlayKeys(r.g);
  EXPECT_EQ(r.sounds, Log(4, "sndKyan.play"));
  EXPECT_EQ(std::tuple(r.g.level, r.g.hitCount, r.g.lockCount), std::tuple(0, 0, 0));
}

}  // namespace
