// The title screen with the ranking, and the round reset.
#include "game/title.h"

#include <array>
#include <string>

#include "game/options_screen.h"
#include "media/us_keyboard.h"
#include "ranking/rank_key.h"
#include "state/colours.h"
#include "stats/stats_screen.h"

namespace game {
namespace {

// O opens the options screen.
const int32_t kOptionsKey = media::Set1FromUsCharacter('O');

// The line of key hints, across the top of the screen above the sky.
constexpr int32_t kHintLeft = 10;
constexpr int32_t kHintTop = 4;
constexpr int32_t kHintRight = 630;
constexpr int32_t kHintBottom = 26;
// What the online ranking said of the last round, below the hints.
constexpr int32_t kNoteTop = 30;
constexpr int32_t kNoteBottom = 52;
static_assert(kNoteWidth == kHintRight - kHintLeft - 16);
// Another list's name in the title bar, after the game's name.
constexpr int32_t kListNameX = 184;
constexpr int32_t kListNameWidth = 160;

// What the title shows besides its own drawing, drawn after it: the name of
// another word list, and the line of key hints.
void DrawTitleAdditions(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  // Drawn in the colours the title leaves in force, and left so: the title
  // bar's outline takes the fore colour the last frame left.
  if (!g.choices.listName.empty()) {
    // Whose ranking this is, in the title bar above it.
    std::string name = g.choices.listName;
    while (media::TextWidth(name) > kListNameWidth) name.pop_back();
    back.SetForeColor(state::kWhite);
    back.DrawText(kListNameX, 213, name);
    back.SetForeColor(state::kDarkPurple);
  }
  back.DrawBox(kHintLeft, kHintTop, kHintRight, kHintBottom);
  const std::string_view hint = g.progress.lastRoundUnranked
                                    ? state::Tr(g, "Tab: your last round   O: options   Esc: quit")
                                    : state::Tr(g, "Tab: statistics   O: options   Esc: quit");
  back.DrawText(kHintLeft + 8, kHintTop + 3, std::string(hint));
  // After a practice round, why no name was asked for (practice rounds are not sent online).
  std::string note = g.onlineNote;
  if (note.empty() && g.progress.lastRoundUnranked && g.choices.practice) {
    note = state::Tr(g, "A practice round enters no ranking: its words were picked for you.");
  }
  if (!note.empty()) {
    while (media::TextWidth(note) > kNoteWidth) {
      // A whole character at a time.
      while ((static_cast<unsigned char>(note.back()) & 0xC0) == 0x80) note.pop_back();
      note.pop_back();
    }
    back.DrawBox(kHintLeft, kNoteTop, kHintRight, kNoteBottom);
    back.DrawText(kHintLeft + 8, kNoteTop + 3, note);
  }
}

}  // namespace

void ReadTitleKeys(state::GameState& g) {
  std::array<media::KeyEvent, 5> events{};
  g.keyboard->GetDeviceData(events);
  // Every record is looked at: Space twice resets twice, Esc with Space
  // both starts and quits.
  for (const media::KeyEvent& e : events) {
    if (e.data != media::kKeyDown) continue;
    if (e.keyCode == state::kKeyEsc) {
      g.quitRequested = true;
    } else if (e.keyCode == state::kKeySpace) {
      StartRound(g);
    } else if (e.keyCode == state::kKeyTab) {
      stats::OpenStatsScreen(g);
      g.progress.lastRoundUnranked = false;
    } else if (e.keyCode == kOptionsKey) {
      OpenOptionsScreen(g);
    }
  }
  // A round started in the same frame wins over the statistics and options.
  if (g.gameMode != state::kModeTitle) {
    g.progress.screenOpen = false;
    g.options.open = false;
  }
}

void DrawTitleScreen(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  // The title bar's outline keeps whatever fore colour the last frame left.
  back.SetFillColor(state::kDarkPurple);
  back.DrawBox(10, 210, 350, 235);
  back.SetForeColor(state::kWhite);
  back.DrawText(50, 213, "Rapiko Ver1.03");
  back.SetFillColor(state::kPalePink);
  back.SetForeColor(state::kDarkPurple);
  back.DrawBox(10, 235, 350, 470);
  back.DrawText(50, 242,
                std::to_string(g.level) + "/" + std::to_string(g.maxLevel) + "  " +
                    std::to_string(g.score) + "  ");
  for (int i = 0; i < state::kRankPlaces; ++i) {
    const ranking::RankParts place = ranking::SplitRankKey(g.rankKeys[i]);
    back.SetForeColor(place.score == g.score ? state::kPureRed : state::kDarkPurple);
    // "st" on every place, as the game has always shown it.
    back.DrawText(50, 260 + 18 * i,
                  std::to_string(i + 1) + "st " + std::to_string(place.level) + "/" +
                      std::to_string(place.maxLevel) + "  " + std::to_string(place.score) + "  " +
                      g.rankNames[i]);
  }
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kPalePink);
  back.DrawText(100, 445, std::string(state::Tr(g, "Hit SPACE Key")));
  DrawTitleAdditions(g);
}

void StartRound(state::GameState& g) {
  // The reset first: the title drawn later in this frame shows its values.
  ResetRound(g);
  g.sndStart->Play();
  g.gameMode = state::kModePlaying;
}

void ResetRound(state::GameState& g) {
  g.level = 3;
  g.maxLevel = 3;
  g.ringHead = state::kRingFirst;
  g.ringTail = state::kRingFirst;
  g.score = 0;
  g.combo = 0;
  g.hitCount = 0;
  state::ClearLocks(g);
  for (int i = 0; i < state::kLockSlots; ++i) {
    g.popups[i].x = 0.0;
    g.popups[i].y = 0.0;
    g.popups[i].timeLeft = 0;
  }
  g.shotActive = false;
  for (state::Target& t : g.targets) t = state::Target{};
  g.entryDone = false;
  g.progress.round = {};
}

}  // namespace game
