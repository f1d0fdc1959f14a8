// FrameTick: one frame of the game, with the round clock.
#include "game/frame_tick.h"

#include <string>

#include "game/pause.h"
#include "game/title.h"
#include "playfield/markers.h"
#include "playfield/popups.h"
#include "playfield/shot.h"
#include "playfield/targets.h"
#include "ranking/name_entry.h"
#include "ranking/rank_key.h"
#include "state/arith.h"
#include "stats/round_history.h"
#include "stats/stats_screen.h"
#include "typing/judge.h"

namespace game {

namespace {

void PlayRound(state::GameState& g, int32_t& elapsedMs) {
  // The clock saturates rather than wrap; a round ends long before.
  g.roundTime = state::Saturate32(int64_t{g.roundTime} + elapsedMs);
  const bool roundEnds = g.roundTime > state::kRoundLengthMs;
  if (roundEnds) {
    g.roundTime = 0;
    g.sndEnd->Play();
    const int32_t key = ranking::ComputeRankKey(g.level, g.maxLevel, g.score);
    const int32_t tenthPlace = g.rankKeys[state::kRankPlaces - 1];
    g.gameMode = key > tenthPlace ? state::kModeNameEntry : state::kModeTitle;
    // The rest of this frame's play still runs.
  }
  typing::ReadPlayKeys(g);
  media::Surface& back = *g.backBuffer;
  back.DrawBox(2, 2, 100, 64);
  back.DrawText(4, 4, "LV " + std::to_string(g.level) + "/" + std::to_string(g.maxLevel));
  back.DrawText(4, 24, "SC " + std::to_string(g.score));
  // Whole seconds left, rounded up: 120 in the first second, 1 in the last.
  const int32_t secondsLeft = state::kRoundLengthMs / 1000 - g.roundTime / 1000;
  back.DrawText(4, 44, "Time " + std::to_string(secondsLeft) + "s");
  playfield::UpdatePopups(g, elapsedMs);
  playfield::UpdateTargets(g, elapsedMs);
  playfield::DrawLockMarkers(g);
  playfield::DrawLockGauge(g);
  playfield::UpdateShot(g, elapsedMs);
  // The round's last frame counts too, so it is kept when that is done.
  if (roundEnds) stats::FinishRound(g);
}

}  // namespace

void FrameTick(state::GameState& g, int32_t& elapsedMs) {
  if (RoundPaused(g)) {
    PauseFrame(g);  // the pass's time never reaches the round
    return;
  }
  g.backBuffer->FastBlit(0, 0, *g.backgroundSurface, media::Rect{}, media::BlitFlags::Wait);
  switch (g.gameMode) {  // read once: a change takes effect next frame
    case state::kModeTitle:
      // The statistics screen stands in for the title while it is open.
      if (g.progress.screenOpen) {
        stats::UpdateStatsScreen(g);
      } else {
        ReadTitleKeys(g);
        DrawTitleScreen(g);
      }
      break;
    case state::kModePlaying:
      PlayRound(g, elapsedMs);
      break;
    case state::kModeNameEntry:
      ranking::UpdateNameEntry(g);
      break;
    default:
      break;
  }
  g.primarySurface->Flip();
}

}  // namespace game
