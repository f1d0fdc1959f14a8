// The homing shot: firing, its glow trail, the end of a flight, hits and scoring, steering.
#include "playfield/shot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "playfield/sprites.h"
#include "state/arith.h"
#include "state/exact_math.h"

namespace playfield {
namespace {

// A flight starts at the bottom centre: firing puts points 0 to 9 of the
// trail there, though only the head and five earlier positions fly and are
// drawn.
constexpr double kShotStartX = 320.0;
constexpr double kShotStartY = 470.0;
constexpr std::size_t kTrailPointsReset = 10;
constexpr int kTrailPoints = 6;
using state::kLockSlots;
constexpr double kPi = 3.14159265358979;
constexpr int16_t kPopupMs = 300;
constexpr int16_t kMaxInt16 = std::numeric_limits<int16_t>::max();
// hitCount keeps counting past 32767 by stepping back a multiple of ten, so
// that every tenth hit still raises the level.
constexpr int32_t kHitCountStepBack = 30000;

bool Inside(const state::TrailPoint& p, double top) {
  return p.x >= 0 && p.x <= media::kScreenWidth && p.y >= top && p.y <= media::kScreenHeight;
}

void DrawTrail(state::GameState& g) {
  for (int i = kTrailPoints - 1; i >= 0; --i) {
    const state::TrailPoint& p = g.shotTrail[i];
    BlitSpriteCutAtTop(g, p.x, p.y, kGlowRect);
  }
}

// The slot of the letter at the head of the lock queue (0, no letter, when
// the queue holds something that is not a target slot).
int16_t HeadLockTarget(const state::GameState& g) {
  if (g.lockHead < 0 || g.lockHead >= kLockSlots) return 0;
  const int16_t t = g.lockQueue[g.lockHead];
  return (t >= 0 && t < static_cast<int32_t>(g.targets.size())) ? t : 0;
}

// Moves ringHead past letters that are gone, stopping at a falling one or at ringTail.
void AdvanceRingHead(state::GameState& g) {
  for (int guard = 0; guard < kRingLast && IsRingSlot(g.ringHead); ++guard) {
    if (g.targets[g.ringHead].keyCode != 0) return;
    g.ringHead = NextRingSlot(g.ringHead);
    if (g.ringHead == g.ringTail) return;
  }
}

void ScoreHit(state::GameState& g, int16_t t) {
  state::Target& target = g.targets[t];
  target.keyCode = 0;
  state::Bump(g.progress.round.destroyed);
  g.sndHit->SetCurrentPosition(0);

  const int32_t combo = int32_t{g.combo} + 1;
  g.combo = state::Saturate16(combo > g.level ? g.level : combo);

  int32_t hits = int32_t{g.hitCount} + 1;
  if (hits > kMaxInt16) hits -= kHitCountStepBack;
  g.hitCount = static_cast<int16_t>(hits);

  g.score = state::Saturate32(int64_t{g.score} + g.combo);
  g.sndHit->Play();

  state::Popup& popup = g.popups[g.lockHead];
  popup.timeLeft = kPopupMs;
  popup.x = target.x;
  popup.y = target.y;
  popup.points = g.combo;

  if (g.hitCount % 10 == 0) {
    g.level = state::Saturate16(int32_t{g.level} + 1);
    g.maxLevel = std::max(g.maxLevel, g.level);
  }

  if (t == g.ringHead) AdvanceRingHead(g);

  g.lockQueue[g.lockHead] = 0;
  g.lockCount = static_cast<int16_t>(g.lockCount - 1);
  g.lockHead = static_cast<int16_t>(g.lockHead + 1 == kLockSlots ? 0 : g.lockHead + 1);
}

// One pixel per millisecond toward the letter at the head of the queue. The angle and
// its sine and cosine are correctly rounded, so every platform steers to the same bits.
void Steer(state::GameState& g, int32_t elapsedMs) {
  const state::Target& target = g.targets[HeadLockTarget(g)];
  const state::TrailPoint& head = g.shotTrail[0];
  const double dx = head.x - target.x;
  const double dy = head.y - target.y;
  if (dx != 0) {
    double a = state::ExactAtan(dy / dx);
    if (dx > 0) a += kPi;
    g.pacing.shotStepX = state::ExactCos(a) * elapsedMs;
    g.pacing.shotStepY = state::ExactSin(a) * elapsedMs;
  } else if (dy != 0) {
    // Straight above or below: the limit of the angle from either side.
    g.pacing.shotStepX = 0.0;
    g.pacing.shotStepY = dy > 0 ? -static_cast<double>(elapsedMs) : static_cast<double>(elapsedMs);
  }
  // On the letter itself there is no direction: the previous step is kept.
}

}  // namespace

void FireShot(state::GameState& g) {
  if (g.shotActive || g.lockCount == 0) return;
  g.shotActive = true;
  state::Bump(g.progress.round.shots);
  g.sndShot->Play();
  for (std::size_t i = 0; i < kTrailPointsReset; ++i) g.shotTrail[i] = {kShotStartX, kShotStartY};
}

void UpdateShot(state::GameState& g, int32_t elapsedMs) {
  if (!g.shotActive) return;

  DrawTrail(g);

  state::TrailPoint& head = g.shotTrail[0];
  if (!Inside(head, 0) && !Inside(g.shotTrail[kTrailPoints - 1], -kCellHeight) &&
      g.lockCount == 0) {
    g.shotActive = false;
    g.combo = 0;
    return;
  }

  if (g.lockCount > 0 && g.lockHead >= 0 && g.lockHead < kLockSlots) {
    const int16_t t = HeadLockTarget(g);
    const state::Target& target = g.targets[t];
    if (std::abs(target.x - head.x) < 10 && std::abs(target.y - head.y) < 15) ScoreHit(g, t);
  }

  if (g.lockCount > 0) Steer(g, elapsedMs);

  for (int i = kTrailPoints - 1; i >= 1; --i) g.shotTrail[i] = g.shotTrail[i - 1];
  head.x += g.pacing.shotStepX;
  head.y += g.pacing.shotStepY;
}

}  // namespace playfield
