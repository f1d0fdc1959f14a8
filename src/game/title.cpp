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

// O opens the options screen; R switches between the ranking and the online board.
const int32_t kOptionsKey = media::Set1FromUsCharacter('O');
const int32_t kBoardKey = media::Set1FromUsCharacter('R');

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

// The online board's lines, in the ranking's box from its first place on.
constexpr int32_t kBoardTextWidth = 340 - 50;

// R shows the online board where this game's rounds go to one.
bool BoardAvailable(const state::GameState& g) {
  return g.onlineBoard.served && state::PlaysOnline(g.choices);
}

bool BoardShown(const state::GameState& g) { return g.onlineBoard.shown && BoardAvailable(g); }

// What the title shows besides its own drawing, drawn after it: the name of
// another word list, and the line of key hints.
void DrawTitleAdditions(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  // Drawn in the colours the title leaves in force, and left so: the title
  // bar's outline takes the fore colour the last frame left.
  if (!g.choices.listName.empty() || BoardShown(g)) {
    // Whose ranking this is, in the title bar above it.
    std::string name = g.choices.listName;
    if (BoardShown(g)) {
      name = std::string(state::Tr(g, "Online")) + (name.empty() ? "" : " " + name);
    }
    back.SetForeColor(state::kWhite);
    back.DrawText(kListNameX, 213, media::CutToWidth(name, kListNameWidth));
    back.SetForeColor(state::kDarkPurple);
  }
  back.DrawBox(kHintLeft, kHintTop, kHintRight, kHintBottom);
  std::string hint(g.progress.lastRoundUnranked
                       ? state::Tr(g, "Tab: your last round   O: options   Esc: quit")
                       : state::Tr(g, "Tab: statistics   O: options   Esc: quit"));
  if (BoardAvailable(g)) {
    hint += "   ";
    hint += BoardShown(g) ? state::Tr(g, "R: local ranking") : state::Tr(g, "R: online ranking");
  }
  back.DrawText(kHintLeft + 8, kHintTop + 3, media::CutToWidth(hint, kNoteWidth));
  // After a practice round, why no name was asked for (practice rounds are not sent online).
  std::string note = g.onlineNote;
  if (note.empty() && g.progress.lastRoundUnranked && g.choices.practice) {
    note = state::Tr(g, "A practice round enters no ranking: its words were picked for you.");
  }
  if (!note.empty()) {
    back.DrawBox(kHintLeft, kNoteTop, kHintRight, kNoteBottom);
    back.DrawText(kHintLeft + 8, kNoteTop + 3, media::CutToWidth(note, kNoteWidth));
  }
}

// The online board's places where the ranking's are: place, level, score and name.
void DrawOnlineBoard(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  back.SetForeColor(state::kDarkPurple);
  const std::vector<state::BoardEntry>& entries = g.onlineBoard.entries;
  if (entries.empty()) {
    back.DrawText(50, 260, media::CutToWidth(g.onlineBoard.note, kBoardTextWidth));
    return;
  }
  for (std::size_t i = 0; i < entries.size() && i < state::kRankPlaces; ++i) {
    const state::BoardEntry& e = entries[i];
    back.DrawText(50, 260 + 18 * static_cast<int32_t>(i),
                  media::CutToWidth(std::to_string(e.place) + ". " + std::to_string(e.level) +
                                        "  " + std::to_string(e.score) + "  " + e.name,
                                    kBoardTextWidth));
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
    } else if (e.keyCode == kBoardKey && BoardAvailable(g)) {
      // Asked anew each time it is shown: the board changes while the title stands.
      g.onlineBoard.shown = !BoardShown(g);
      if (g.onlineBoard.shown) {
        ++g.onlineBoard.asked;
        g.onlineBoard.entries.clear();
        g.onlineBoard.note = state::Tr(g, "Loading the online board...");
      }
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
  for (int i = 0; i < state::kRankPlaces && !BoardShown(g); ++i) {
    const ranking::RankParts place = ranking::SplitRankKey(g.rankKeys[i]);
    back.SetForeColor(place.score == g.score ? state::kPureRed : state::kDarkPurple);
    // "st" on every place, as the game has always shown it.
    back.DrawText(50, 260 + 18 * i,
                  std::to_string(i + 1) + "st " + std::to_string(place.level) + "/" +
                      std::to_string(place.maxLevel) + "  " + std::to_string(place.score) + "  " +
                      g.rankNames[i]);
  }
  if (BoardShown(g)) DrawOnlineBoard(g);
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
