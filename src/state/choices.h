// What the player chooses besides the rules: word list, practice, sound, keys, display, language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/messages.h"

namespace state {

// The choices of the options screen as the settings file keeps them: each
// one the player made, or nothing where the game's default stands.
struct Settings {
  std::optional<std::string> words;  // a list's name, or a word file's path
  std::optional<bool> practice;
  std::optional<bool> sound;
  std::optional<bool> keysByPosition;
  std::optional<bool> fullscreen;
  std::optional<int32_t> scale;         // 0: the largest that fits; else 1 to 8
  std::optional<std::string> language;  // a language's code (media::LanguageCode)
  std::optional<std::string> online;    // the online ranking's server (an http(s) address)
  // Whether rounds are played on it; none with an address: on, as before this key.
  std::optional<bool> onlineRanking;
  // Holds the player's names on the online ranking (the server made it).
  std::optional<std::string> onlineToken;
  bool operator==(const Settings&) const = default;
};

// A word list the options screen offers.
struct WordList {
  std::string name;  // empty: the game folder's own rapdata.ini
  std::string file;  // its path
};

// The online ranking as the game plays it: the server, kept while the
// ranking is off, and whether rounds are played on it.
struct OnlineRanking {
  std::string url;     // the server's address; empty: none known
  std::string server;  // its host and port as the options screen names it; empty: no usable one
  bool on = false;
  bool plainRemote = false;  // plain http to another machine: what is sent can be read on the way
  bool warned = false;       // the title has said so (once a game)
};

// What the player chose for this game besides the rules; none of it changes
// how a round plays.

struct Choices {
  media::Language language = media::Language::kEnglish;  // of every text shown
  std::string listName;  // the word list in play; empty: the game folder's rapdata.ini
  // A list played from a file by its path rather than by its name: which
  // file (ranking::ListId of the path); empty for a list played by its name.
  std::string listId;
  std::string wordFile;   // its path
  bool practice = false;  // words favour the weak keys; rounds enter no ranking
  bool replay = false;    // a recording shown again
  // What the machine does now, as the options screen shows it.
  bool sound = true;
  bool keysByPosition = false;
  bool fullscreen = true;
  int32_t scale = 0;
  // The game folder, ending in a separator.
  std::string folder;
  // Where the options screen finds the lists and keeps its choices; a game
  // without a settings file (a scripted run, a replay) keeps none.
  std::vector<std::string> listFolders;
  std::string settingsPath;
  // Where the online tokens are kept: the system's settings file, even for a portable copy.
  std::string tokenSettingsPath;
  OnlineRanking online;
  Settings settings;          // as the settings file holds them
  bool canWatch = false;      // the options screen may show a kept round
  bool canSizeWindow = true;  // false in the web page, whose canvas the page sizes
  // The kept round the player asked to watch: the game ends its loop so
  // that the session shows it, then starts again.
  std::string watch;
  // A round of the online board asked to watch, in a kept round's form (then watch names it).
  std::string watchText;
};

// Whether this game's rounds are played on the online ranking: it is on with a server, and the
// rounds are neither practice nor of a list played by its path, which no board ranks.
inline bool PlaysOnline(const Choices& choices) {
  return choices.online.on && !choices.online.url.empty() && !choices.practice &&
         choices.listId.empty();
}

// A kept best round as the options screen lists it.
struct KeptRound {
  std::string file;
  std::string when;  // "2026-12-07 19:01"
  int64_t score = 0;
  std::string list;  // the word list it was played with
};

// The options screen while it is open.
struct OptionsView {
  bool open = false;
  int32_t item = 0;  // the line chosen
  std::vector<WordList> lists;
  bool watching = false;  // the list of kept rounds is shown
  std::vector<KeptRound> rounds;
  int32_t round = 0;    // the kept round chosen
  std::string problem;  // one line about the last change that failed
};

}  // namespace state
