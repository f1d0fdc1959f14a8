// The name-entry screen, its keys, and putting a finished round's result into its ranking place.
#include "ranking/name_entry.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "ranking/rank_key.h"
#include "state/colours.h"
#include "state/figures.h"

namespace ranking {
namespace {

constexpr std::size_t kMaxNameLength = 10;
constexpr std::size_t kPlaces = state::kRankPlaces;
constexpr int32_t kNameX = 180;

// The round's result above the name's box, drawn after the screen's own
// drawing and leaving the colours as that drawing left them.
void DrawRoundResult(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  const state::RoundCounts& c = g.progress.round;
  const std::optional<double> accuracy = state::AccuracyPercent(c.locks, c.wrongKeys);
  const RankParts best = SplitRankKey(g.rankKeys[0]);
  const std::string lines[] = {
      media::Format(state::Tr(g, "Score {0}   level {1}/{2}"),
                    {std::to_string(g.score), std::to_string(g.level), std::to_string(g.maxLevel)}),
      media::Format(
          state::Tr(g, "{0} letters/min   {1}"),
          {state::OneDecimal(state::LettersPerMinute(c.destroyed)),
           accuracy ? media::Format(state::Tr(g, "{0}% accuracy"), {state::OneDecimal(*accuracy)})
                    : std::string(state::Tr(g, "no keys judged"))}),
      media::Format(state::Tr(g, "Best of this list so far: {0}"), {std::to_string(best.score)}),
  };
  back.SetForeColor(state::kDarkPurple);
  back.DrawBox(50, 330, 400, 392);
  for (std::size_t i = 0; i < std::size(lines); ++i) {
    back.DrawText(60, 334 + 18 * static_cast<int32_t>(i), lines[i]);
  }
  back.SetForeColor(state::kPureRed);
}

}  // namespace

void UpdateNameEntry(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  back.SetForeColor(state::kDarkPurple);
  back.DrawBox(50, 395, 400, 445);
  g.entryName = ReadNameKeys(g, g.entryName);
  g.unsavedName = true;
  const std::string prompt(state::Tr(g, "Enter your name:"));
  back.DrawText(60, 400, prompt);
  back.DrawText(60, 420, std::string(state::Tr(g, "Enter: done   Backspace: delete a letter")));
  back.SetForeColor(state::kPureRed);
  // After the prompt, wherever a longer prompt ends.
  back.DrawText(std::max(kNameX, 60 + media::TextWidth(prompt) + 8), 400, g.entryName);
  DrawRoundResult(g);
  if (g.entryDone) {
    g.gameMode = state::kModeTitle;
    InsertRanking(g, g.score);
  }
}

void EnterNameNow(state::GameState& g) {
  if (g.gameMode != state::kModeNameEntry) return;
  g.unsavedName = true;
  g.gameMode = state::kModeTitle;
  InsertRanking(g, g.score);
}

std::string ReadNameKeys(state::GameState& g, const std::string& name) {
  std::array<media::KeyEvent, state::kKeyBatchSize> batch{};
  g.keyboard->GetDeviceData(batch);
  std::string text = name;
  for (const media::KeyEvent& e : batch) {
    if (e.keyCode == 0 || e.data != media::kKeyDown) continue;
    if (e.keyCode > 0 && e.keyCode < static_cast<int32_t>(g.keyChars.size())) {
      text += g.keyChars.at(static_cast<std::size_t>(e.keyCode));
    }
    // Enter and Esc do not end the batch: later keys still edit the name.
    if (e.keyCode == state::kKeyEnter) g.entryDone = true;
    if (e.keyCode == state::kKeyEsc) g.quitRequested = true;
    if (e.keyCode == state::kKeyBackspace && !text.empty()) text.pop_back();
  }
  // Cut once per frame, so a key typed at the limit is dropped at its end.
  if (text.size() > kMaxNameLength) text.resize(kMaxNameLength);
  return text;
}

void InsertRankEntry(std::array<int32_t, kPlaces>& keys, std::array<std::string, kPlaces>& names,
                     const state::RankEntry& entry) {
  for (std::size_t i = 0; i < kPlaces; ++i) {
    // Only a strictly lower key gives way, so ties go below the equal keys.
    if (keys[i] >= entry.key) continue;
    for (std::size_t j = kPlaces - 1; j > i; --j) {
      keys[j] = keys[j - 1];
      names[j] = names[j - 1];
    }
    keys[i] = entry.key;
    names[i] = entry.name;
    return;
  }
}

void InsertRanking(state::GameState& g, int32_t score) {
  const state::RankEntry entry{ComputeRankKey(g.level, g.maxLevel, score), g.entryName};
  InsertRankEntry(g.rankKeys, g.rankNames, entry);
  g.unsavedResults.push_back(entry);
}

}  // namespace ranking
