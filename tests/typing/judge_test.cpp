// Tests of the judgement of key presses during play: locks, wrong keys, firing and the key batch.
#include "typing/judge.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace {

using testing_support::Rig;
using Log = std::vector<std::string>;

constexpr int16_t kA = 30;
constexpr int16_t kB = 48;
constexpr int16_t kOne = 2;
constexpr int16_t kPadOne = 79;

class JudgeTest : public ::testing::Test {
 protected:
  // Puts letters into ring slots from..from+n-1 (wrapping) and makes them the live part.
  void Field(int16_t head, std::initializer_list<int16_t> codes) {
    int16_t slot = head;
    for (const int16_t code : codes) {
      r.g.targets[slot].keyCode = code;
      slot = slot == 99 ? 1 : static_cast<int16_t>(slot + 1);
    }
    r.g.ringHead = head;
    r.g.ringTail = slot;
  }
  std::vector<int16_t> Locks() const { return {r.g.lockQueue.begin(), r.g.lockQueue.begin() + 8}; }
  Rig r;
};

TEST_F(JudgeTest, EqualLettersLockOldestFirst) {
  Field(1, {kA, kB, kA});
  typing::JudgeKey(r.g, kA);
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(Locks(), (std::vector<int16_t>{1, 3, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(r.g.lockTail, 2);
  EXPECT_EQ(r.g.lockCount, 2);
  // Every lock restarts the lock cue.
  EXPECT_EQ(r.sounds, (Log{"sndType.rewind", "sndType.play", "sndType.rewind", "sndType.play"}));
  EXPECT_EQ(r.g.level, 3);
}

TEST_F(JudgeTest, SecondPressOfAnAlreadyLockedLetterIsWrong) {
  Field(1, {kA, kB});
  r.g.hitCount = 7;
  r.g.combo = 2;
  r.g.score = 40;
  typing::JudgeKey(r.g, kA);
  r.sounds.clear();
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(r.sounds, (Log{"sndKyan.play"}));  // no rewind for the wrong-key cue
  EXPECT_EQ(r.g.hitCount, 0);
  EXPECT_EQ(r.g.level, 2);
  EXPECT_EQ(r.g.maxLevel, 3);
  EXPECT_EQ(r.g.combo, 2);
  EXPECT_EQ(r.g.score, 40);
  EXPECT_EQ(r.g.lockCount, 1);
}

TEST_F(JudgeTest, WrongKeyOnAnEmptyFieldAndTheLevelFloor) {
  r.g.level = 1;
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(r.g.level, 0);
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(r.g.level, 0);
  EXPECT_EQ(r.sounds, (Log{"sndKyan.play", "sndKyan.play"}));
}

TEST_F(JudgeTest, NumberPadDigitNeverMatchesAFallingDigit) {
  Field(1, {kOne});
  typing::JudgeKey(r.g, kPadOne);
  EXPECT_EQ(r.g.lockCount, 0);
  EXPECT_EQ(r.g.level, 2);
}

TEST_F(JudgeTest, FullLockQueueTurnsKeysAwaySilently) {
  Field(1, {kA, kA, kA, kA, kA, kA, kA, kA, kA, kB});
  for (int i = 0; i < 8; ++i) typing::JudgeKey(r.g, kA);
  ASSERT_EQ(r.g.lockCount, 8);
  EXPECT_EQ(r.g.lockTail, 0);  // wrapped from 7
  r.sounds.clear();
  r.g.hitCount = 5;
  const std::vector<int16_t> before = Locks();
  typing::JudgeKey(r.g, kA);  // would lock slot 9
  typing::JudgeKey(r.g, 57);  // would be wrong
  EXPECT_EQ(Locks(), before);
  EXPECT_EQ(r.g.lockCount, 8);
  EXPECT_TRUE(r.sounds.empty());
  EXPECT_EQ(r.g.hitCount, 5);
  EXPECT_EQ(r.g.level, 3);
}

TEST_F(JudgeTest, WrappedRingIsVisitedOldestFirst) {
  Field(97, {kA, kA, kA, kA, kA});  // slots 97, 98, 99, 1, 2; ringTail 3
  ASSERT_EQ(r.g.ringTail, 3);
  r.g.targets[3].keyCode = kA;   // beyond the tail: not live
  r.g.targets[96].keyCode = kA;  // before the head: not live
  for (int i = 0; i < 5; ++i) typing::JudgeKey(r.g, kA);
  EXPECT_EQ(Locks(), (std::vector<int16_t>{97, 98, 99, 1, 2, 0, 0, 0}));
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(r.g.lockCount, 5);
  EXPECT_EQ(r.g.level, 2);
}

TEST_F(JudgeTest, RingWrappingToSlotOneHasNoLowerPart) {
  Field(98, {kB, kA});  // slots 98, 99; ringTail 1
  ASSERT_EQ(r.g.ringTail, 1);
  r.g.targets[1].keyCode = kA;
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(r.g.lockQueue[0], 99);
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(r.g.lockCount, 1);
}

TEST_F(JudgeTest, LockTailWrapsAndLocksResumeAfterTheShotTakesOne) {
  Field(1, {kA, kB});
  r.g.lockTail = 7;
  r.g.lockHead = 7;
  EXPECT_TRUE(typing::TryLock(r.g, 1, kA));
  EXPECT_EQ(r.g.lockQueue[7], 1);
  EXPECT_EQ(r.g.lockTail, 0);
  EXPECT_TRUE(typing::TryLock(r.g, 2, kB));
  EXPECT_EQ(r.g.lockQueue[0], 2);
  EXPECT_EQ(r.g.lockQueue[8], 0);  // the spare slot is never used
}

TEST_F(JudgeTest, TryLockRefusals) {
  Field(1, {kA, kB});
  EXPECT_FALSE(typing::TryLock(r.g, 1, kB));
  r.g.lockQueue[5] = 2;  // locked already, in any slot
  EXPECT_FALSE(typing::TryLock(r.g, 2, kB));
  r.g.targets[1].keyCode = 0;  // a letter already hit
  EXPECT_FALSE(typing::TryLock(r.g, 1, 0));
  EXPECT_EQ(r.g.lockCount, 0);
  EXPECT_TRUE(r.sounds.empty());
}

TEST_F(JudgeTest, DamagedIndicesNeverReachOutsideTheTables) {
  r.g.targets[0].keyCode = kA;
  r.g.targets[100].keyCode = kA;
  for (const int16_t index :
       {int16_t{0}, int16_t{100}, int16_t{-1}, int16_t{32767}, int16_t{-32768}}) {
    EXPECT_FALSE(typing::TryLock(r.g, index, kA)) << index;
  }
  r.g.ringHead = 150;
  r.g.ringTail = 3;
  r.g.targets[2].keyCode = kA;
  typing::JudgeKey(r.g, kA);
  EXPECT_EQ(r.g.lockQueue[0], 2);
  r.g.ringHead = -5;
  r.g.ringTail = 300;
  typing::JudgeKey(r.g, kB);  // nothing to lock, but no out-of-range read
  EXPECT_EQ(r.g.lockCount, 1);
  r.g.lockTail = 9;
  r.g.targets[3].keyCode = kB;
  r.g.ringHead = 1;
  r.g.ringTail = 4;
  EXPECT_FALSE(typing::TryLock(r.g, 3, kB));
}

TEST_F(JudgeTest, FireOnlyWithALockAndNoShotInFlight) {
  typing::FireShot(r.g);
  EXPECT_FALSE(r.g.shotActive);
  Field(1, {kA});
  typing::JudgeKey(r.g, kA);
  r.g.shotActive = true;
  r.sounds.clear();
  typing::FireShot(r.g);
  EXPECT_TRUE(r.sounds.empty());

  r.g.shotActive = false;
  for (auto& p : r.g.shotTrail) p = {5.0, 6.0};
  typing::FireShot(r.g);
  EXPECT_TRUE(r.g.shotActive);
  EXPECT_EQ(r.sounds, (Log{"sndShot.play"}));
  for (int i = 0; i <= 9; ++i) {
    EXPECT_EQ(r.g.shotTrail[i].x, 320.0) << i;
    EXPECT_EQ(r.g.shotTrail[i].y, 470.0) << i;
  }
  EXPECT_EQ(r.g.shotTrail[10].x, 5.0);
  EXPECT_EQ(r.g.lockCount, 1);  // the shot takes locks, firing does not
}

TEST_F(JudgeTest, LetterThenSpaceInOneBatchLocksThenFires) {
  Field(1, {kA});
  r.keys->Press(kA);
  r.keys->Press(57);
  typing::ReadPlayKeys(r.g);
  EXPECT_EQ(r.sounds, (Log{"sndType.rewind", "sndType.play", "sndShot.play"}));
  EXPECT_TRUE(r.g.shotActive);
}

TEST_F(JudgeTest, EnterFiresToo) {
  Field(1, {kA});
  r.keys->Press(kA);
  r.keys->Press(28);
  typing::ReadPlayKeys(r.g);
  EXPECT_TRUE(r.g.shotActive);
}

TEST_F(JudgeTest, EscSetsTheQuitFlagAndTheBatchGoesOn) {
  Field(1, {kA});
  r.keys->Press(1);
  r.keys->Press(kA);
  typing::ReadPlayKeys(r.g);
  EXPECT_TRUE(r.g.quitRequested);
  EXPECT_EQ(r.g.lockCount, 1);
  EXPECT_EQ(r.g.level, 3);  // Esc itself is not a wrong key
}

TEST_F(JudgeTest, ReleasesAndEmptyRecordsDoNothing) {
  Field(1, {kA});
  r.keys->Up(kB);
  r.keys->queue.push_back({0, 128, 0, 0});   // code 0 going down
  r.keys->queue.push_back({kB, 129, 0, 0});  // data other than exactly 128
  r.keys->Down(kA);
  r.keys->Up(kA);
  typing::ReadPlayKeys(r.g);
  EXPECT_EQ(r.sounds, (Log{"sndType.rewind", "sndType.play"}));
  EXPECT_EQ(r.g.level, 3);
  typing::ReadPlayKeys(r.g);  // nothing waiting
  EXPECT_EQ(r.sounds.size(), 2u);
}

TEST_F(JudgeTest, NonCharacterKeysAreWrongDuringPlay) {
  Field(1, {kA});
  r.keys->Press(42);   // Shift
  r.keys->Press(14);   // Backspace
  r.keys->Press(200);  // arrow up
  typing::ReadPlayKeys(r.g);
  EXPECT_EQ(r.g.level, 0);
  EXPECT_EQ(r.sounds, (Log{"sndKyan.play", "sndKyan.play", "sndKyan.play"}));
}

}  // namespace
