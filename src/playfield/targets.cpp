// Falling letters: the bottom-out penalty, drawing from the glyph sheet, fall and drift.
#include "playfield/targets.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "playfield/spawner.h"
#include "playfield/sprites.h"
#include "state/arith.h"

namespace playfield {
namespace {

constexpr double kBottomLine = 443.0;  // y past which a letter's cell leaves the screen
constexpr double kLeftWall = 100.0;
constexpr double kRightWall = 490.0;

constexpr int32_t kTargetSlots = std::tuple_size_v<decltype(state::GameState::targets)>;

bool IsTargetSlot(int32_t i) { return i >= 0 && i < kTargetSlots; }

// Codes without a cell show the cell at (0, 0).
state::KeyGlyph GlyphOf(const state::GameState& g, int16_t keyCode) {
  if (keyCode < 0 || keyCode >= static_cast<int32_t>(g.keyGlyphs.size())) return {};
  return g.keyGlyphs[keyCode];
}

}  // namespace

void UpdateTargets(state::GameState& g, int32_t elapsedMs) {
  PaceSpawning(g, elapsedMs);
  for (int16_t i = kRingFirst; i <= kRingLast; ++i) CheckBottomOut(g, i);
  // Newest first, so the older letters lie on top; except where the range
  // wraps: there the older run (up to slot 99) is drawn first and the newer
  // run (from slot 1) after it, each from its newest slot down, so the newer
  // run lies over the older one. The game has always drawn them so.
  const int32_t head = g.ringHead;
  const int32_t tail = g.ringTail;
  const auto drawDown = [&g, elapsedMs](int32_t from, int32_t to) {
    for (int32_t i = std::min(from, int32_t{kRingLast}); i >= std::max(to, int32_t{kRingFirst});
         --i)
      DrawAndMoveTarget(g, static_cast<int16_t>(i), elapsedMs);
  };
  if (tail > head) {
    drawDown(tail - 1, head);
  } else if (tail < head) {
    drawDown(kRingLast, head);
    drawDown(tail - 1, kRingFirst);
  }
}

void CheckBottomOut(state::GameState& g, int16_t index) {
  if (!IsTargetSlot(index)) return;
  const state::Target& t = g.targets[index];
  if (!(t.y > kBottomLine && t.keyCode != 0)) return;

  // A lost letter clears the whole field and costs two levels.
  g.sndFueen->Play();
  state::ClearLocks(g);
  g.ringTail = kRingFirst;
  g.ringHead = kRingFirst;
  g.hitCount = 0;
  g.level = static_cast<int16_t>(std::max(int32_t{g.level} - 2, 0));
  const int16_t fallen = t.keyCode;
  int32_t cleared = 0;
  for (state::Target& each : g.targets) {
    if (each.keyCode != 0) ++cleared;
    each = state::Target{};
  }
  state::CountFallOut(g.progress.round, fallen, cleared);
}

void DrawAndMoveTarget(state::GameState& g, int16_t index, int32_t elapsedMs) {
  if (!IsTargetSlot(index)) return;
  state::Target& t = g.targets[index];
  if (t.keyCode == 0) return;  // a hit letter is neither drawn nor moved

  const state::KeyGlyph cell = GlyphOf(g, t.keyCode);
  const int32_t gx = cell.x;
  const int32_t gy = cell.y;
  BlitSpriteCutAtTop(g, t.x, t.y, {gx, gy, gx + kCellWidth, gy + kCellHeight});

  // Drawn where it stood; the move shows from the next frame.
  t.y += StepFor(4 * int64_t{g.level} + 20, elapsedMs);

  const double nx = elapsedMs * t.vx / 1000 + t.x;
  t.x = nx;
  if (nx < kLeftWall) {
    t.vx = -t.vx;
    t.x = kLeftWall;
  } else if (nx > kRightWall) {
    t.vx = -t.vx;
    t.x = kRightWall;
  }
}

}  // namespace playfield
