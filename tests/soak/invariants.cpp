// The invariants of the game state that must hold after every pass of the main loop.
#include "soak/invariants.h"

#include <cmath>
#include <set>
#include <sstream>

namespace soak {

namespace {

constexpr int kRoundLengthMs = 120000;
constexpr double kLeftWall = 100.0;
constexpr double kRightWall = 490.0;

bool InRing(int v) { return v >= 1 && v <= 99; }

class Report {
 public:
  template <typename... Parts>
  void Fail(const Parts&... parts) {
    std::ostringstream s;
    (s << ... << parts);
    lines_.push_back(s.str());
  }
  std::vector<std::string> Take() { return std::move(lines_); }

 private:
  std::vector<std::string> lines_;
};

void CheckScalars(const core::GameState& g, int16_t modeBefore, Report& r) {
  if (g.gameMode < 0 || g.gameMode > 2) r.Fail("gameMode ", g.gameMode, " is not 0, 1 or 2");
  if (!InRing(g.ringHead)) r.Fail("ringHead ", g.ringHead, " is outside 1..99");
  if (!InRing(g.ringTail)) r.Fail("ringTail ", g.ringTail, " is outside 1..99");
  if (g.lockHead < 0 || g.lockHead > 7) r.Fail("lockHead ", g.lockHead, " is outside 0..7");
  if (g.lockTail < 0 || g.lockTail > 7) r.Fail("lockTail ", g.lockTail, " is outside 0..7");
  if (g.lockCount < 0 || g.lockCount > 8) r.Fail("lockCount ", g.lockCount, " is outside 0..8");
  if (g.level < 0) r.Fail("level ", g.level, " is below 0");
  // Nothing lowers maxLevel within a round and every level rise lifts it,
  // so it holds outside rounds too.
  if (g.maxLevel < g.level) r.Fail("maxLevel ", g.maxLevel, " is below level ", g.level);
  if (g.score < 0) r.Fail("score ", g.score, " is negative");
  if (g.hitCount < 0) r.Fail("hitCount ", g.hitCount, " is negative");
  if (g.combo < 0 || g.combo > g.maxLevel) {
    r.Fail("combo ", g.combo, " is outside 0..maxLevel ", g.maxLevel);
  }
  if (g.roundTime < 0 || g.roundTime > kRoundLengthMs) {
    r.Fail("roundTime ", g.roundTime, " is outside 0..", kRoundLengthMs);
  }
  for (size_t i = 0; i + 1 < g.rankKeys.size(); ++i) {
    if (g.rankKeys[i] < g.rankKeys[i + 1]) {
      r.Fail("rankKeys[", i, "] ", g.rankKeys[i], " is below rankKeys[", i + 1, "] ",
             g.rankKeys[i + 1]);
    }
  }
  if (modeBefore == core::kModeNameEntry && g.entryName.size() > 10) {
    r.Fail("entryName \"", g.entryName, "\" has ", g.entryName.size(),
           " characters after a name-entry frame");
  }
}

void CheckLockQueue(const core::GameState& g, Report& r) {
  if (g.lockHead < 0 || g.lockHead > 7 || g.lockCount < 0 || g.lockCount > 8) return;
  int used = 0;
  for (int slot = 0; slot <= 7; ++slot) used += g.lockQueue[slot] != 0 ? 1 : 0;
  if (used != g.lockCount) r.Fail("lockCount ", g.lockCount, " but ", used, " slots hold a lock");
  for (int k = 0; k < 8; ++k) {
    const int slot = (g.lockHead + k) % 8;
    const bool shouldHold = k < g.lockCount;
    if (shouldHold != (g.lockQueue[slot] != 0)) {
      r.Fail("lock slot ", slot, " holds ", g.lockQueue[slot], " but lockHead ", g.lockHead,
             " and lockCount ", g.lockCount, " say it is ", shouldHold ? "in use" : "empty");
    }
  }
  if (g.lockTail >= 0 && g.lockTail <= 7 && g.lockTail != (g.lockHead + g.lockCount) % 8) {
    r.Fail("lockTail ", g.lockTail, " is not the slot after the newest lock (lockHead ", g.lockHead,
           ", lockCount ", g.lockCount, ")");
  }
  if (g.lockQueue[8] != 0) r.Fail("lock slot 8 holds ", g.lockQueue[8], " but is never used");

  std::set<int16_t> seen;
  for (int slot = 0; slot <= 7; ++slot) {
    const int16_t t = g.lockQueue[slot];
    if (t == 0) continue;
    if (!InRing(t)) {
      r.Fail("lock slot ", slot, " holds target ", t, " outside 1..99");
      continue;
    }
    if (!seen.insert(t).second) r.Fail("target ", t, " is locked twice");
    if (g.targets[t].keyCode == 0)
      r.Fail("lock slot ", slot, " holds target ", t, " with no letter");
  }
}

bool Finite(double v) { return std::isfinite(v); }

void CheckTargets(const core::GameState& g, Report& r) {
  for (size_t i = 0; i < g.targets.size(); ++i) {
    const core::Target& t = g.targets[i];
    if (!Finite(t.x) || !Finite(t.y) || !Finite(t.vx)) {
      r.Fail("target ", i, " has a position or speed that is not a number: x ", t.x, " y ", t.y,
             " vx ", t.vx);
    }
  }
  if (g.targets[0].keyCode != 0) r.Fail("target slot 0 holds key ", g.targets[0].keyCode);
  if (g.targets[100].keyCode != 0) r.Fail("target slot 100 holds key ", g.targets[100].keyCode);
  if (!InRing(g.ringHead) || !InRing(g.ringTail)) return;

  std::vector<bool> live(100, false);
  for (int16_t i : LiveSlots(g)) live[i] = true;
  for (int i = 1; i <= 99; ++i) {
    const core::Target& t = g.targets[i];
    if (t.keyCode == 0) continue;
    // Letters leave the ring only by a hit or a bottom-out, both of which
    // clear them; one outside the live range means the ring overran.
    if (!live[i]) {
      r.Fail("target ", i, " holds key ", t.keyCode, " outside the live range ", g.ringHead, "..",
             g.ringTail);
    }
    if (t.x < kLeftWall || t.x > kRightWall) {
      r.Fail("target ", i, " at x ", t.x, " is outside the walls");
    }
  }
}

void CheckShotAndPopups(const core::GameState& g, Report& r) {
  for (size_t i = 0; i < g.shotTrail.size(); ++i) {
    if (!Finite(g.shotTrail[i].x) || !Finite(g.shotTrail[i].y)) {
      r.Fail("shot trail point ", i, " is not a number: ", g.shotTrail[i].x, ", ",
             g.shotTrail[i].y);
    }
  }
  if (!Finite(g.pacing.shotStepX) || !Finite(g.pacing.shotStepY)) {
    r.Fail("shot step is not a number: ", g.pacing.shotStepX, ", ", g.pacing.shotStepY);
  }
  for (int k = 0; k <= 7; ++k) {
    const core::Popup& p = g.popups[k];
    if (p.timeLeft < 0) r.Fail("pop-up ", k, " has timeLeft ", p.timeLeft);
    if (!Finite(p.x) || !Finite(p.y)) r.Fail("pop-up ", k, " is not a number: ", p.x, ", ", p.y);
  }
}

}  // namespace

std::vector<int16_t> LiveSlots(const core::GameState& g) {
  std::vector<int16_t> slots;
  if (!InRing(g.ringHead) || !InRing(g.ringTail)) return slots;
  for (int i = g.ringHead; i != g.ringTail; i = i == 99 ? 1 : i + 1) {
    slots.push_back(static_cast<int16_t>(i));
  }
  return slots;
}

std::vector<std::string> CheckInvariants(const core::GameState& g, int16_t modeBefore) {
  Report r;
  CheckScalars(g, modeBefore, r);
  CheckLockQueue(g, r);
  CheckTargets(g, r);
  CheckShotAndPopups(g, r);
  return r.Take();
}

std::string DescribeState(const core::GameState& g) {
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
