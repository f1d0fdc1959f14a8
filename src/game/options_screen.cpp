// The options screen (O on the title): word list, practice, sound, keys, display, language,
// the online ranking, and the kept best rounds.
#include "game/options_screen.h"

#include <algorithm>
#include <array>
#include <utility>

#include "game/devices.h"
#include "game/kept_rounds.h"
#include "game/settings.h"
#include "game/watch_list.h"
#include "ranking/ranking_file.h"
#include "ranking/ranking_save.h"
#include "state/colours.h"
#include "state/list_label.h"
#include "stats/round_history.h"
#include "storage/folders.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace game {
namespace {

enum Item : int32_t {
  kWords,
  kPractice,
  kSound,
  kKeys,
  kDisplay,
  kScale,
  kLanguage,
  kOnline,
  kWatch,
  kItems
};

constexpr int32_t kMaxScale = 8;

constexpr int32_t kLeft = kOptionsLeft;
constexpr int32_t kValues = 280;
constexpr int32_t kFirstLine = kOptionsFirstLine;
constexpr int32_t kLineStep = 26;
constexpr int32_t kValuesWidth = 630 - kValues;

// The lists to choose from: the game folder's rapdata.ini, then every
// list of the folders' words/, each name once (the game folder's first).
std::vector<state::WordList> FindLists(const state::GameState& g) {
  std::vector<state::WordList> lists = {{"", g.choices.folder + typing::kWordFileName}};
  for (const std::string& folder : g.choices.listFolders) {
    for (const std::string& file : storage::ListFolder(folder)) {
      if (file.size() <= 4 || file.compare(file.size() - 4, 4, ".ini") != 0) continue;
      const std::string name = file.substr(0, file.size() - 4);
      const bool known = std::any_of(lists.begin(), lists.end(),
                                     [&](const state::WordList& l) { return l.name == name; });
      if (!known && storage::IsPlainFile(folder + "/" + file)) {
        lists.push_back({name, folder + "/" + file});
      }
    }
  }
  return lists;
}

// Keeps the choice of one key in the settings file.
void Save(state::GameState& g, std::string_view key) {
  if (g.choices.settingsPath.empty()) return;
  if (const auto problem = WriteSetting(g.choices.settingsPath, g.choices.settings, key)) {
    g.options.problem = *problem;
  }
}

// Plays the list from now on: its words, and its ranking (this game's
// results all saved first, so that none goes into another list's ranking).
void ChangeList(state::GameState& g, const state::WordList& list) {
  if (!g.unsavedResults.empty() && !g.choices.replay) {
    try {
      ranking::SaveRanking(g, g.choices.folder);
    } catch (const ranking::SaveError& e) {
      g.options.problem = e.what();
      return;
    }
  }
  g.choices.listName = list.name;
  g.choices.listId.clear();  // the options offer lists by their names
  g.choices.wordFile = list.file;
  typing::LoadWordData(g, list.file);
  ranking::RankingValues values;
  values.entryName = g.entryName;
  ranking::PutValues(g, values);
  ranking::LoadRanking(g, g.choices.folder);
  // Practice favours the weak keys of this list's rounds.
  if (g.choices.practice) stats::LoadPracticeKeys(g);
  g.choices.settings.words = list.name.empty() ? std::nullopt : std::optional(list.name);
}

void Change(state::GameState& g, int32_t step) {
  state::Choices& c = g.choices;
  state::Settings& s = c.settings;
  g.options.problem.clear();
  const char* key = nullptr;  // the settings line it changes
  switch (g.options.item) {
    case kWords: {
      key = "words";
      const auto& lists = g.options.lists;
      auto at = std::find_if(lists.begin(), lists.end(),
                             [&](const state::WordList& l) { return l.name == c.listName; });
      const auto n = static_cast<int32_t>(lists.size());
      const int32_t i = at == lists.end() ? 0 : static_cast<int32_t>(at - lists.begin());
      ChangeList(g, lists[static_cast<std::size_t>(((i + step) % n + n) % n)]);
      break;
    }
    case kPractice:
      key = "practice";
      c.practice = !c.practice;
      s.practice = c.practice;
      if (c.practice) {
        stats::LoadPracticeKeys(g);
      } else {
        g.progress.practiceKeys.clear();
      }
      break;
    case kSound:
      key = "sound";
      c.sound = !c.sound;
      s.sound = c.sound;
      if (g.controls) {
        g.controls->SetSound(c.sound);
        ReopenSound(g);
      }
      break;
    case kKeys:
      key = "keys";
      c.keysByPosition = !c.keysByPosition;
      s.keysByPosition = c.keysByPosition;
      if (g.controls) g.controls->SetKeysByPosition(c.keysByPosition);
      break;
    case kDisplay:
      key = "display";
      c.fullscreen = !c.fullscreen;
      s.fullscreen = c.fullscreen;
      if (g.controls) g.controls->SetDisplay(c.fullscreen, c.scale);
      break;
    case kScale: {
      key = "scale";
      // Only the scales whose window fits the desktop are offered.
      const int32_t n =
          (g.controls ? std::min(g.controls->LargestWindowScale(), kMaxScale) : kMaxScale) + 1;
      c.scale = ((std::min(c.scale, n - 1) + step) % n + n) % n;
      s.scale = c.scale;
      if (g.controls) g.controls->SetDisplay(c.fullscreen, c.scale);
      break;
    }
    case kLanguage: {
      key = "language";
      const int32_t n = media::LanguageCount();
      c.language = media::Language{static_cast<int8_t>(((c.language.index + step) % n + n) % n)};
      s.language = std::string(media::LanguageCode(c.language));
      break;
    }
    case kOnline:
      // The session's online rounds look at it when the next round starts.
      key = "online_ranking";
      c.online.on = !c.online.on;
      s.onlineRanking = c.online.on;
      WarnOfPlainHttp(g);
      break;
    default:
      return;
  }
  // The online board's rounds to watch are of the list played, and only while it goes online.
  if (g.options.item == kWords || g.options.item == kPractice || g.options.item == kOnline) {
    AskOnlineRounds(g);
  }
  Save(g, key);
}

std::string OnOff(const state::GameState& g, bool on) {
  return std::string(on ? state::Tr(g, "on") : state::Tr(g, "off"));
}

std::string ValueOf(const state::GameState& g, int32_t item) {
  const state::Choices& c = g.choices;
  switch (item) {
    case kWords: {
      for (const state::WordList& l : g.options.lists) {
        if (l.name == c.listName) return state::ListLabel(g, l.name);
      }
      return c.listName;
    }
    case kPractice:
      return OnOff(g, c.practice);
    case kSound:
      if (c.sound && g.controls && g.controls->SoundMissing()) {
        return std::string(state::Tr(g, "no device"));
      }
      return OnOff(g, c.sound);
    case kKeys:
      return std::string(c.keysByPosition ? state::Tr(g, "by position (US)")
                                          : state::Tr(g, "by the character typed"));
    case kDisplay:
      return std::string(c.fullscreen ? state::Tr(g, "full screen") : state::Tr(g, "window"));
    case kScale: {
      // A saved scale larger than this desktop takes is shown as the one the window uses.
      const int32_t scale =
          g.controls && c.scale > 0 ? std::min(c.scale, g.controls->LargestWindowScale()) : c.scale;
      return scale == 0
                 ? std::string(state::Tr(g, "as large as fits"))
                 : media::Format(state::Tr(g, "{0} times 640 x 480"), {std::to_string(scale)});
    }
    case kLanguage:
      return std::string(media::LanguageName(c.language));
    case kOnline: {
      if (c.online.server.empty())
        return std::string(state::Tr(g, "none: online=URL in settings.ini"));
      if (!c.online.on) return OnOff(g, false);
      // A long address keeps its beginning.
      std::string server = c.online.server;
      const std::string on(state::Tr(g, "on: {0}"));
      while (media::TextWidth(media::Format(on, {server + "..."})) > kValuesWidth)
        server.pop_back();
      return media::Format(on, {server == c.online.server ? server : server + "..."});
    }
    case kWatch:
      return WatchValue(g);
    default:
      return "";
  }
}

std::string_view LabelOf(const state::GameState& g, int32_t item) {
  static constexpr std::array<std::string_view, kItems> kLabels = {
      media::Msg("Word list"), media::Msg("Practice"),       media::Msg("Sound"),
      media::Msg("Keys"),      media::Msg("Display"),        media::Msg("Window size"),
      media::Msg("Language"),  media::Msg("Online ranking"), media::Msg("Watch a best round")};
  return state::Tr(g, kLabels[static_cast<std::size_t>(item)]);
}

bool Selectable(const state::GameState& g, int32_t item) {
  if (item == kScale) return g.choices.canSizeWindow;
  if (item == kOnline) return !g.choices.online.server.empty();
  return item != kWatch || HasRoundsToWatch(g);
}

// This frame's keys, five at a time as the title reads them.
void ReadOptionKeys(state::GameState& g) {
  std::array<media::KeyEvent, 5> events{};
  g.keyboard->GetDeviceData(events);
  state::OptionsView& o = g.options;
  for (const media::KeyEvent& e : events) {
    if (e.data != media::kKeyDown || !o.open) continue;
    const bool enter = e.keyCode == state::kKeyEnter || e.keyCode == state::kKeyPadEnter;
    if (o.watching) {
      ReadWatchKey(g, e.keyCode);
      continue;
    }
    if (e.keyCode == state::kKeyEsc) o.open = false;
    if (e.keyCode == state::kKeyArrowUp) {
      do o.item = (o.item + kItems - 1) % kItems;
      while (!Selectable(g, o.item));
    }
    if (e.keyCode == state::kKeyArrowDown) {
      do o.item = (o.item + 1) % kItems;
      while (!Selectable(g, o.item));
    }
    if (e.keyCode == state::kKeyArrowLeft) Change(g, -1);
    if (e.keyCode == state::kKeyArrowRight) Change(g, 1);
    if (enter && o.item == kWatch) {
      o.watching = true;
      o.round = 0;
    } else if (enter) {
      Change(g, 1);
    }
  }
}

void DrawFrame(state::GameState& g, std::string_view title, std::string_view hint) {
  media::Surface& back = *g.backBuffer;
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kDarkPurple);
  back.DrawBox(10, 8, 630, 33);
  back.SetForeColor(state::kWhite);
  back.DrawText(20, 12, std::string(title));
  back.DrawText(620 - media::TextWidth(hint), 12, std::string(hint));
  back.SetForeColor(state::kDarkPurple);
  back.SetFillColor(state::kPalePink);
  back.DrawBox(10, 33, 630, 472);
}

void DrawItems(state::GameState& g) {
  media::Surface& back = *g.backBuffer;
  for (int32_t item = 0; item < kItems; ++item) {
    const int32_t y = kFirstLine + item * kLineStep;
    const bool chosen = item == g.options.item;
    back.SetForeColor(!Selectable(g, item) ? state::kUnavailable
                      : chosen             ? state::kPureRed
                                           : state::kDarkPurple);
    back.DrawText(kLeft, y, std::string(chosen ? "> " : "  ") + std::string(LabelOf(g, item)));
    back.DrawText(kValues, y, ValueOf(g, item));
  }
  back.SetForeColor(state::kDarkPurple);
  const int32_t y = kFirstLine + kItems * kLineStep + 12;
  if (!g.options.problem.empty()) {
    back.SetForeColor(state::kPureRed);
    back.DrawText(kLeft, y, g.options.problem.substr(0, 72));
    back.SetForeColor(state::kDarkPurple);
  } else if (g.options.item == kDisplay || g.options.item == kScale) {
    back.DrawText(kLeft, y, std::string(state::Tr(g, "Alt+Enter switches too, at any time.")));
  } else if (g.options.item == kOnline) {
    back.DrawText(kLeft, y, std::string(state::Tr(g, "A change holds from the next round on.")));
  }
  if (g.choices.settingsPath.empty()) {
    back.DrawText(kLeft, 446, std::string(state::Tr(g, "Kept for this game only.")));
  }
}

}  // namespace

void OpenOptionsScreen(state::GameState& g) {
  state::OptionsView& o = g.options;
  o = state::OptionsView{};
  o.open = true;
  o.lists = FindLists(g);
  if (g.choices.canWatch) o.rounds = ListKeptRounds(g.choices.folder);
  AskOnlineRounds(g);
}

void WarnOfPlainHttp(state::GameState& g) {
  state::OnlineRanking& online = g.choices.online;
  if (!online.on || !online.plainRemote || std::exchange(online.warned, true)) return;
  g.onlineNote =
      state::Tr(g, "Online: plain http: what is sent can be read and changed on the way");
}

void UpdateOptionsScreen(state::GameState& g) {
  ReadOptionKeys(g);
  if (g.options.watching) {
    DrawFrame(g, state::Tr(g, "Watch a best round"),
              state::Tr(g, "Up/Down: choose   Enter: watch   Esc: back"));
    DrawWatchList(g);
  } else {
    DrawFrame(g, state::Tr(g, "Options"),
              state::Tr(g, "Up/Down: choose   Left/Right, Enter: change   Esc: back"));
    DrawItems(g);
  }
  // The title draws with the colours it leaves; so does this screen.
  g.backBuffer->SetForeColor(state::kDarkPurple);
  g.backBuffer->SetFillColor(state::kPalePink);
}

}  // namespace game
