// The invariants of the game state that must hold after every pass of the main loop.
#include <cmath>
#include <set>
#include <sstream>

#include "soak/soak.h"

namespace soak {

namespace {

bool InRing(int v) { return v >= 1 && v <= 99; }
bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

}  // namespace

std::vector<int16_t> LiveSlots(const state::GameState& g) {
  std::vector<int16_t> slots;
  if (!InRing(g.ringHead) || !InRing(g.ringTail)) return slots;
  for (int i = g.ringHead; i != g.ringTail; i = i == 99 ? 1 : i + 1) {
    slots.push_back(static_cast<int16_t>(i));
  }
  return slots;
}

std::vector<std::string> CheckInvariants(const state::GameState& g, int16_t modeBefore) {
  std::vector<std::string> out;
  const auto fail = [&out](const auto&... parts) {
    std::ostringstream s;
    (s << ... << parts);
    out.push_back(s.str());
  };
  if (g.gameMode < 0 || g.gameMode > 2) fail("gameMode ", g.gameMode, " is not 0, 1 or 2");
  if (!InRing(g.ringHead)) fail("ringHead ", g.ringHead, " is outside 1..99");
  if (!InRing(g.ringTail)) fail("ringTail ", g.ringTail, " is outside 1..99");
  if (g.level < 0) fail("level ", g.level, " is below 0");
  // Nothing lowers maxLevel within a round and every rise lifts it.
  if (g.maxLevel < g.level) fail("maxLevel ", g.maxLevel, " is below level ", g.level);
  if (g.score < 0 || g.hitCount < 0) fail("score ", g.score, " or hitCount is negative");
  if (g.combo < 0 || g.combo > g.maxLevel) fail("combo ", g.combo, " is outside 0..maxLevel");
  if (g.roundTime < 0 || g.roundTime > 120000)
    fail("roundTime ", g.roundTime, " is outside 0..120000");
  for (size_t i = 0; i + 1 < g.rankKeys.size(); ++i) {
    if (g.rankKeys[i] < g.rankKeys[i + 1]) fail("rankKeys[", i, "] is below the next place's");
  }
  if (modeBefore == state::kModeNameEntry && g.entryName.size() > 10) {
    fail("entryName \"", g.entryName, "\" is longer than 10 after a name-entry frame");
  }

  // The lock ring: exactly the lockCount slots from lockHead on hold a lock,
  // each a different target that still has its letter.
  if (g.lockHead < 0 || g.lockHead > 7 || g.lockCount < 0 || g.lockCount > 8 ||
      g.lockTail != (g.lockHead + g.lockCount) % 8) {
    fail("lock ring head ", g.lockHead, " tail ", g.lockTail, " count ", g.lockCount);
  } else {
    for (int k = 0; k < 8; ++k) {
      const int slot = (g.lockHead + k) % 8;
      if ((k < g.lockCount) != (g.lockQueue[slot] != 0)) fail("lock slot ", slot, " is wrong");
    }
  }
  if (g.lockQueue[8] != 0) fail("lock slot 8 holds ", g.lockQueue[8], " but is never used");
  std::set<int16_t> seen;
  for (int slot = 0; slot <= 7; ++slot) {
    const int16_t t = g.lockQueue[slot];
    if (t == 0) continue;
    if (!InRing(t)) {
      fail("lock slot ", slot, " holds target ", t, " outside 1..99");
    } else if (!seen.insert(t).second) {
      fail("target ", t, " is locked twice");
    } else if (g.targets[t].keyCode == 0) {
      fail("lock slot ", slot, " holds target ", t, " with no letter");
    }
  }

  // Letters leave the ring only by a hit or a bottom-out, which clear them.
  std::vector<bool> live(101, false);
  for (int16_t i : LiveSlots(g)) live[i] = true;
  for (size_t i = 0; i < g.targets.size(); ++i) {
    const state::Target& t = g.targets[i];
    if (!Finite(t.x, t.y) || !std::isfinite(t.vx)) fail("target ", i, " is not a number");
    if (t.keyCode != 0 && !live[i]) fail("target ", i, " holds a letter outside the live range");
    if (t.keyCode != 0 && (t.x < 100.0 || t.x > 490.0)) fail("target ", i, " is past the walls");
  }
  for (size_t i = 0; i < g.shotTrail.size(); ++i) {
    if (!Finite(g.shotTrail[i].x, g.shotTrail[i].y)) fail("shot trail point ", i, " is NaN");
  }
  if (!Finite(g.pacing.shotStepX, g.pacing.shotStepY)) fail("shot step is not a number");
  for (int k = 0; k <= 7; ++k) {
    const state::Popup& p = g.popups[k];
    if (p.timeLeft < 0 || !Finite(p.x, p.y)) fail("pop-up ", k, " is broken");
  }
  return out;
}

std::string DescribeState(const state::GameState& g) {
  std::ostringstream s;
  s << "mode " << g.gameMode << " level " << g.level << "/" << g.maxLevel << " score " << g.score
    << " combo " << g.combo << " hits " << g.hitCount << " roundTime " << g.roundTime << " ring "
    << g.ringHead << ".." << g.ringTail << " locks head " << g.lockHead << " tail " << g.lockTail
    << " count " << g.lockCount << " [";
  for (int slot = 0; slot <= 8; ++slot) s << (slot ? " " : "") << g.lockQueue[slot];
  s << "] shot " << (g.shotActive ? "on" : "off") << " entryName \"" << g.entryName << "\"";
  return s.str();
}

}  // namespace soak
