// Key presses during play: lock the oldest matching letter, fire the shot, or punish a wrong key.
#include "typing/judge.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "playfield/shot.h"
#include "state/arith.h"

namespace typing {
namespace {

using state::kLockSlots;
constexpr int kFirstRingSlot = state::kRingFirst;
constexpr int kLastRingSlot = state::kRingLast;

}  // namespace

void ReadPlayKeys(state::GameState& g) {
  std::array<media::KeyEvent, state::kKeyBatchSize> batch{};
  g.keyboard->GetDeviceData(batch);
  // Every record is examined; the reported count is not needed because
  // records the read did not fill still carry key code 0.
  for (const media::KeyEvent& e : batch) {
    if (e.keyCode == 0 || e.data != media::kKeyDown) continue;
    if (e.keyCode == state::kKeyEsc) {
      g.quitRequested = true;  // the rest of the batch is still handled
    } else if (e.keyCode == state::kKeyEnter || e.keyCode == state::kKeySpace) {
      playfield::FireShot(g);
    } else {
      // Codes beyond 16 bits match no letter; they judge as a wrong key.
      JudgeKey(g, state::Saturate16(e.keyCode));
    }
  }
}

void JudgeKey(state::GameState& g, int16_t keyCode) {
  // A full lock queue turns keys away without judging them.
  if (g.lockCount >= kLockSlots) return;
  // The oldest letter that matches.
  const state::LiveSlots live = state::LiveRange(g);
  for (int k = 0; k < live.count; ++k) {
    if (TryLock(g, live.slots[static_cast<std::size_t>(k)], keyCode)) return;
  }
  state::CountWrongKey(g.progress.round, keyCode);
  g.sndKyan->Play();
  g.hitCount = 0;
  g.level = static_cast<int16_t>(std::max(0, g.level - 1));
}

bool TryLock(state::GameState& g, int16_t targetIndex, int16_t keyCode) {
  if (targetIndex < kFirstRingSlot || targetIndex > kLastRingSlot) return false;
  // Code 0 marks a slot without a letter; it must never lock a gone letter.
  if (keyCode == 0) return false;
  if (g.targets[static_cast<std::size_t>(targetIndex)].keyCode != keyCode) return false;
  for (int slot = 0; slot < kLockSlots; ++slot) {
    if (g.lockQueue[static_cast<std::size_t>(slot)] == targetIndex) return false;
  }
  // A damaged tail would write outside the queue's ring: refuse the lock.
  if (g.lockTail < 0 || g.lockTail >= kLockSlots) return false;
  g.lockQueue[static_cast<std::size_t>(g.lockTail)] = targetIndex;
  g.lockTail = static_cast<int16_t>((g.lockTail + 1) % kLockSlots);
  g.lockCount = state::Saturate16(int64_t{g.lockCount} + 1);
  state::CountLock(g.progress.round, keyCode);
  g.sndType->SetCurrentPosition(0);
  g.sndType->Play();
  return true;
}

}  // namespace typing
