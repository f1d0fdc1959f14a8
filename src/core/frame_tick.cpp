// FrameTick: one frame of the game, with the round clock and the name-entry screen.
#include "core/frame_tick.h"

#include <string>

#include "core/title.h"
#include "playfield/markers.h"
#include "playfield/popups.h"
#include "playfield/shot.h"
#include "playfield/spawner.h"
#include "ranking/name_entry.h"
#include "typing/judge.h"

namespace core {

namespace {

void PlayRound(GameState& g, int32_t& elapsedMs) {
  // The clock saturates rather than wrap; a round ends long before.
  const int64_t played = static_cast<int64_t>(g.roundTime) + elapsedMs;
  g.roundTime = played > INT32_MAX   ? INT32_MAX
                : played < INT32_MIN ? INT32_MIN
                                     : static_cast<int32_t>(played);
  if (g.roundTime > kRoundLengthMs) {
    g.roundTime = 0;
    g.sndEnd->Play();
    const int32_t key = ranking::ComputeRankKey(g.level, g.maxLevel, g.score);
    g.gameMode = key > g.rankKeys[9] ? kModeNameEntry : kModeTitle;
    // The rest of this frame's play still runs.
  }
  typing::ReadPlayKeys(g);
  media::Surface& back = *g.backBuffer;
  back.DrawBox(2, 2, 100, 64);
  back.DrawText(4, 4, "LV " + std::to_string(g.level) + "/" + std::to_string(g.maxLevel));
  back.DrawText(4, 24, "SC " + std::to_string(g.score));
  back.DrawText(4, 44, "Time " + std::to_string(120 - g.roundTime / 1000) + "s");
  playfield::UpdatePopups(g, elapsedMs);
  playfield::UpdateTargets(g, elapsedMs);
  playfield::DrawLockMarkers(g);
  playfield::DrawLockGauge(g);
  playfield::UpdateShot(g, elapsedMs);
}

void NameEntry(GameState& g) {
  media::Surface& back = *g.backBuffer;
  back.SetForeColor(kDarkPurple);
  back.DrawBox(50, 395, 400, 445);
  g.entryName = ranking::ReadNameKeys(g, g.entryName);
  back.DrawText(60, 400, "名前を入力:");
  back.DrawText(60, 420, "Enterで決定　Back spaceで一文字消す");
  back.SetForeColor(kPureRed);
  back.DrawText(180, 400, g.entryName);
  if (g.entryDone) {
    g.gameMode = kModeTitle;
    ranking::InsertRanking(g, g.score);
  }
}

}  // namespace

void FrameTick(GameState& g, int32_t& elapsedMs) {
  g.backBuffer->FastBlit(0, 0, *g.backgroundSurface, media::Rect{}, media::BlitFlags::Wait);
  switch (g.gameMode) {  // read once: a change takes effect next frame
    case kModeTitle:
      ReadTitleKeys(g);
      DrawTitleScreen(g);
      break;
    case kModePlaying:
      PlayRound(g, elapsedMs);
      break;
    case kModeNameEntry:
      NameEntry(g);
      break;
    default:
      break;
  }
  g.primarySurface->Flip();
}

}  // namespace core
