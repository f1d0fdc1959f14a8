// The options screen's list of rounds to watch: the kept best rounds, then the online board's.
#include "game/watch_list.h"

#include <utility>

#include "state/colours.h"
#include "state/key_codes.h"
#include "state/list_label.h"

namespace game {
namespace {

// Ten kept rounds and an online board of ten fit at the narrower step.
constexpr int32_t kStep = 24;
constexpr int32_t kNarrowStep = 18;
constexpr int32_t kMostAtStep = 16;
constexpr int32_t kNoteLine = 446;
constexpr int32_t kNoteRight = 620;

int32_t KeptCount(const state::GameState& g) {
  return static_cast<int32_t>(g.options.rounds.size());
}

int32_t RoundCount(const state::GameState& g) {
  return KeptCount(g) + static_cast<int32_t>(g.onlineWatch.entries.size());
}

}  // namespace

void AskOnlineRounds(state::GameState& g) {
  state::OnlineWatchView& online = g.onlineWatch;
  online.entries.clear();
  online.note.clear();
  online.loading = false;
  if (!online.served || !state::PlaysOnline(g.choices)) return;
  ++online.asked;
  online.note = state::Tr(g, "Loading the online board...");
}

bool HasRoundsToWatch(const state::GameState& g) { return RoundCount(g) > 0; }

std::string WatchValue(const state::GameState& g) {
  const int64_t kept = KeptCount(g);
  std::string value =
      media::Format(state::TrN(g, "{0} kept", "{0} kept", kept), {std::to_string(kept)});
  if (const auto online = std::ssize(g.onlineWatch.entries); online > 0) {
    value += ", " + media::Format(state::Tr(g, "{0} online"), {std::to_string(online)});
  }
  return value;
}

void ReadWatchKey(state::GameState& g, int32_t keyCode) {
  state::OptionsView& o = g.options;
  state::OnlineWatchView& online = g.onlineWatch;
  if (keyCode == state::kKeyEsc) {
    o.watching = false;
    // A round still being fetched is given up.
    if (std::exchange(online.loading, false)) online.note.clear();
    return;
  }
  if (online.loading) return;
  const int32_t n = RoundCount(g);
  if (keyCode == state::kKeyArrowUp && o.round > 0) --o.round;
  if (keyCode == state::kKeyArrowDown && o.round + 1 < n) ++o.round;
  if ((keyCode != state::kKeyEnter && keyCode != state::kKeyPadEnter) || o.round >= n) return;
  if (o.round < KeptCount(g)) {
    // The session shows it once this game has ended, and starts again.
    g.choices.watch = o.rounds[static_cast<std::size_t>(o.round)].file;
    g.quitRequested = true;
    return;
  }
  // Fetched in the background; the game's loop ends for it once it is in.
  online.round = online.entries[static_cast<std::size_t>(o.round - KeptCount(g))].round;
  ++online.chosen;
  online.loading = true;
  online.note = state::Tr(g, "Loading the round...");
}

void DrawWatchList(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  const int32_t n = RoundCount(g);
  const int32_t step = n > kMostAtStep ? kNarrowStep : kStep;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t y = kOptionsFirstLine + i * step;
    const bool chosen = i == g.options.round;
    back.SetForeColor(chosen ? state::kPureRed : state::kDarkPurple);
    const std::string mark = chosen ? "> " : "  ";
    if (i < KeptCount(g)) {
      const state::KeptRound& round = g.options.rounds[static_cast<std::size_t>(i)];
      back.DrawText(kOptionsLeft, y, mark + round.when);
      back.DrawText(kOptionsLeft + 180, y, std::to_string(round.score));
      back.DrawText(kOptionsLeft + 280, y, state::ListLabel(g, round.list));
    } else {
      // The online board's rounds are of the list in play.
      const state::BoardEntry& e =
          g.onlineWatch.entries[static_cast<std::size_t>(i - KeptCount(g))];
      back.DrawText(kOptionsLeft, y, mark + media::Format(state::Tr(g, "Online: {0}"), {e.name}));
      back.DrawText(kOptionsLeft + 180, y, std::to_string(e.score));
      back.DrawText(kOptionsLeft + 280, y, state::ListLabel(g, g.choices.listName));
    }
  }
  back.SetForeColor(state::kDarkPurple);
  if (!g.onlineWatch.note.empty()) {
    back.DrawText(kOptionsLeft, kNoteLine,
                  media::CutToWidth(g.onlineWatch.note, kNoteRight - kOptionsLeft));
  }
}

}  // namespace game
