// FrameTick: one frame of the game, with the round clock.
#include "game/frame_tick.h"

#include <string>
#include <utility>

#include "game/options_screen.h"
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

constexpr uint32_t kNameEntryGraceMs = 500;

// What makes this round unlike a round of the game folder's list, under the
// status box: practice, another list, a replay. Drawn in the colours in
// force, which it leaves as they are.
void DrawPlayMark(state::GameState& g) {
  std::string mark;
  std::string list = g.choices.listName;
  if (g.choices.replay) mark = state::Tr(g, "REPLAY");
  if (g.choices.practice) mark += (mark.empty() ? "" : " ") + std::string(state::Tr(g, "PRACTICE"));
  // A replay's list gets a line of its own: beside REPLAY it would be cut.
  if (!mark.empty() && !g.choices.replay && !list.empty()) mark += " " + std::exchange(list, "");
  if (mark.empty()) std::swap(mark, list);
  int32_t y = 66;
  for (std::string* line : {&mark, &list}) {
    while (media::TextWidth(*line) > 96) line->pop_back();
    if (!line->empty()) g.backBuffer->DrawText(4, y, *line);
    y += 18;
  }
}

void PlayRound(state::GameState& g, int32_t& elapsedMs) {
  // The clock saturates rather than wrap; a round ends long before.
  g.roundTime = state::Saturate32(int64_t{g.roundTime} + elapsedMs);
  const bool roundEnds = g.roundTime > state::kRoundLengthMs;
  if (roundEnds) {
    g.roundTime = 0;
    g.sndEnd->Play();
    const int32_t key = ranking::ComputeRankKey(g.level, g.maxLevel, g.score);
    const int32_t tenthPlace = g.rankKeys[state::kRankPlaces - 1];
    // A practice round enters no ranking: its words were not the list's.
    const bool ranked = key > tenthPlace && !g.choices.practice;
    g.gameMode = ranked ? state::kModeNameEntry : state::kModeTitle;
    g.progress.lastRoundUnranked = !ranked;
    // Letters typed as the round ran out are not the start of a name (in a
    // window only: a script's keys come when it says).
    if (ranked && g.controls) g.controls->DropKeysFor(kNameEntryGraceMs);
    // The rest of this frame's play still runs.
  }
  typing::ReadPlayKeys(g);
  media::Surface& back = *g.backBuffer;
  back.DrawBox(2, 2, 100, 64);
  back.DrawText(4, 4,
                std::string(state::Tr(g, "LV")) + " " + std::to_string(g.level) + "/" +
                    std::to_string(g.maxLevel));
  back.DrawText(4, 24, std::string(state::Tr(g, "SC")) + " " + std::to_string(g.score));
  // Whole seconds left, rounded up: 120 in the first second, 1 in the last.
  const int32_t secondsLeft = state::kRoundLengthMs / 1000 - g.roundTime / 1000;
  back.DrawText(4, 44, media::Format(state::Tr(g, "Time {0}s"), {std::to_string(secondsLeft)}));
  DrawPlayMark(g);
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
      } else if (g.options.open) {
        UpdateOptionsScreen(g);
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
