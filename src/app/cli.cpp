// The command line of the program.
#include "app/cli.h"

#include <algorithm>
#include <functional>

#include "app/word_lists.h"
#include "media/messages.h"
#include "net/address.h"
#include "storage/user_folder.h"

namespace app {

namespace {

// One option of the command line: its name, the word its value is shown
// as (none for a switch), its help, and what it does to the options. A
// setter returns the fault of a bad value, or nothing.
struct OptionEntry {
  const char* name;
  const char* value;
  std::string help;
  std::function<std::optional<std::string>(Options&, const std::string&)> set;
};

std::optional<std::string> NonEmpty(const std::string& v, const char* what, std::string& into) {
  if (v.empty()) return std::string(what);
  into = v;
  return std::nullopt;
}

const std::vector<OptionEntry>& OptionTable() {
  static const std::vector<OptionEntry> table = {
      {"--window", nullptr,
       "play in a window instead of full screen (the largest of the\n"
       "picture's shape that fits the desktop)",
       [](Options& o, const std::string&) { return o.window = true, std::nullopt; }},
      {"--scale", "N",
       "window size as N times 640 x 480 (1 to 8, at most what fits;\n"
       "implies --window)",
       [](Options& o, const std::string& v) -> std::optional<std::string> {
         if (v.size() != 1 || v[0] < '1' || v[0] > '8') {
           return "--scale takes a whole number from 1 to 8, not '" + v + "'";
         }
         o.scale = v[0] - '0';
         o.window = true;
         return std::nullopt;
       }},
      {"--keys", "MODE",
       "'character' (default): a key counts as the character it types\n"
       "on your keyboard layout; 'position': as the key in its place\n"
       "on a US keyboard",
       [](Options& o, const std::string& v) -> std::optional<std::string> {
         if (v != "character" && v != "position") {
           return "--keys takes 'character' or 'position', not '" + v + "'";
         }
         o.keysByPosition = v == "position";
         return std::nullopt;
       }},
      {"--mute", nullptr, "play without sound",
       [](Options& o, const std::string&) { return o.mute = true, std::nullopt; }},
      {"--dir", "DIR",
       "game folder with back.bmp, rapdata.ini and rapikosc.ini\n"
       "(default: the program's folder if it holds back.bmp, else\n" +
           std::string(storage::kPerUserFolderShown) +
           ", made and\n"
           "filled with the installed back.bmp and rapdata.ini); a DIR\n"
           "that does not exist or is empty is made and filled alike",
       [](Options& o, const std::string& v) { return NonEmpty(v, "--dir needs a folder", o.dir); }},
      {"--words", "LIST",
       "play a word list instead of the game folder's rapdata.ini:\n"
       "LIST.ini from the game folder's words/, or one that comes\n"
       "with the game: " +
           ShippedWordLists(),
       [](Options& o, const std::string& v) {
         return NonEmpty(v, "--words needs a list name or a file", o.words);
       }},
      {"--words", "FILE", WordFileHelp(), nullptr},
      {"--record", "FILE",
       "write the session as a script to FILE; a headless run\n"
       "of that script plays it again exactly",
       [](Options& o, const std::string& v) {
         return NonEmpty(v, "--record needs a file", o.record);
       }},
      {"--replay", "FILE",
       "show a recording in the window at its real pace (Esc\n"
       "stops it; nothing is saved). The best round of each\n"
       "session is kept in the game folder's replays/",
       [](Options& o, const std::string& v) {
         return NonEmpty(v, "--replay needs a file", o.replay);
       }},
      {"--lang", "CODE",
       "the language of the game's texts: " + media::LanguageCodeList() +
           " (default: the\n"
           "options screen's choice, else LC_ALL, LC_MESSAGES or LANG)",
       [](Options& o, const std::string& v) -> std::optional<std::string> {
         if (!media::LanguageOfLocale(v)) {
           return "--lang takes " + media::LanguageCodeList() + ", not '" + v + "'";
         }
         o.lang = v;
         return std::nullopt;
       }},
      {"--online", "URL",
       "play each round on the online ranking of the server at URL\n"
       "(http:// or https://): a round takes its start from the\n"
       "server and is sent when it ends (default: the settings'\n"
       "online=URL for a game in the window; else offline)",
       [](Options& o, const std::string& v) -> std::optional<std::string> {
         if (const auto fault = net::AddressFault(v)) return "--online: " + *fault;
         o.online = v;
         return std::nullopt;
       }},
      {"--headless", nullptr, "run without window or sound, driven by a script",
       [](Options& o, const std::string&) { return o.headless = true, std::nullopt; }},
      {"--script", "FILE", "the script of a headless run ('-' for standard input)",
       [](Options& o, const std::string& v) { return o.script = v, std::nullopt; }},
      {"--practice", nullptr, "new words favour your weakest keys (from the history)",
       [](Options& o, const std::string&) { return o.practice = true, std::nullopt; }},
      {"--stats", nullptr,
       "print the statistics of the history (rapiko-history.csv)\n"
       "and exit: the rounds of the word list --words names, else of\n"
       "the list the options screen chose, else of rapdata.ini",
       [](Options& o, const std::string&) { return o.stats = true, std::nullopt; }},
      {"--all-lists", nullptr, "with --stats: the rounds of every word list",
       [](Options& o, const std::string&) { return o.allLists = true, std::nullopt; }},
      {"--help", nullptr, "show this help and exit",
       [](Options& o, const std::string&) { return o.help = true, std::nullopt; }},
      {"--version", nullptr, "show the version and exit",
       [](Options& o, const std::string&) { return o.version = true, std::nullopt; }},
  };
  return table;
}

const OptionEntry* FindOption(const std::string& arg) {
  const std::string name = arg == "-h" ? "--help" : arg;
  for (const OptionEntry& entry : OptionTable()) {
    if (entry.set && name == entry.name) return &entry;
  }
  return nullptr;
}

// The keys and the files of the game folder, listed in the help after the options.
struct HelpEntry {
  const char* name;
  const char* help;
};

constexpr HelpEntry kKeys[] = {
    {"Space", "start a round (title screen); fire the shot (in a round)"},
    {"Enter", "fire the shot (in a round); enter your name (name entry)"},
    {"Tab", "the statistics of your rounds (title screen)"},
    {"O",
     "the options screen: word list, practice, sound, keys, display,\n"
     "language, best rounds to watch (title screen)"},
    {"L", "the statistics of the word list in play, or of every list\n(statistics screen)"},
    {"Backspace", "delete the last character (name entry)"},
    {"Esc", "quit (a click quits too); the ranking is saved"},
    {"Alt+Enter", "switch between full screen and a window"},
};

constexpr HelpEntry kFiles[] = {
    {"back.bmp", "the background picture: 640 x 480, 256 colours"},
    {"rapdata.ini", "the words, one a line or separated by commas"},
    {"rapikosc.ini", "the ranking"},
    {"rapiko-history.csv", "the history of your rounds (--stats, --practice)"},
    {"replays/", "the best round of each session (--replay)"},
    {"rankings/", "the ranking of each other word list"},
};

// One entry of the help: its head, then its text from column 21, each of its
// lines indented alike.
std::string HelpLine(std::string head, std::string help) {
  head = head.size() < 19 ? head : head + "\n";  // a long head has the text below it
  head.resize(head.back() == '\n' ? head.size() + 20 : 20, ' ');
  for (std::size_t at = 0; (at = help.find('\n', at)) != std::string::npos; at += 21) {
    help.insert(at + 1, std::string(20, ' '));
  }
  return head + help + "\n";
}

// The options given, for the rules of which go together.
bool Given(const std::vector<std::string>& seen, const char* name) {
  return std::find(seen.begin(), seen.end(), name) != seen.end();
}

}  // namespace

bool Options::Given(const std::string& name) const {
  return std::find(given.begin(), given.end(), name) != given.end();
}

std::string UsageText() {
  std::string text =
      "Usage: rapiko [--window [--scale N]] [--keys MODE] [--mute] [--practice] [--dir DIR]\n"
      "                     [--words LIST|FILE] [--record FILE] [--lang CODE] [--online URL]\n"
      "       rapiko --replay FILE [--window [--scale N]] [--dir DIR]\n"
      "       rapiko --headless --script FILE [--practice] [--dir DIR] [--words LIST|FILE]\n"
      "                     [--record FILE] [--lang CODE] [--online URL]\n"
      "       rapiko --stats [--dir DIR] [--words LIST|FILE | --all-lists]\n"
      "\n"
      "A keyboard-practice arcade game: type the falling letters, fire with Space.\n"
      "\n"
      "Options:\n";
  for (const OptionEntry& entry : OptionTable()) {
    text += HelpLine(
        std::string("  ") + entry.name + (entry.value ? std::string(" ") + entry.value : ""),
        entry.help);
  }
  text += "\nKeys (letters, digits and - lock the falling letters they type):\n";
  for (const HelpEntry& key : kKeys) text += HelpLine(std::string("  ") + key.name, key.help);
  text += "\nFiles of the game folder (see --dir):\n";
  for (const HelpEntry& file : kFiles) text += HelpLine(std::string("  ") + file.name, file.help);
  text += HelpLine("  settings.ini",
                   std::string("the options screen's choices, in ") + storage::kConfigFolderShown);
  return text;
}

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  Options o;
  std::vector<std::string> seen;
  for (size_t i = 0; i < args.size(); ++i) {
    const OptionEntry* entry = FindOption(args[i]);
    if (!entry) {
      error = "unknown option '" + args[i] + "'";
      return std::nullopt;
    }
    std::string value;
    if (entry->value) {
      if (i + 1 >= args.size()) {
        error = std::string(entry->name) + " needs a value";
        return std::nullopt;
      }
      value = args[++i];
    }
    if (const auto fault = entry->set(o, value)) {
      error = *fault;
      return std::nullopt;
    }
    seen.push_back(entry->name);
  }
  o.given = seen;
  if (o.help || o.version) return o;
  const auto fail = [&error](const char* why) {
    error = why;
    return std::nullopt;
  };
  for (const char* other :
       {"--headless", "--window", "--scale", "--practice", "--record", "--replay", "--online"}) {
    if (o.stats && Given(seen, other)) {
      return fail("--stats goes only with --dir, --words and --all-lists");
    }
  }
  if (o.allLists && !o.stats) return fail("--all-lists goes only with --stats");
  if (o.allLists && !o.words.empty()) {
    return fail("--all-lists shows every list, so it takes no --words");
  }
  if (o.headless && !Given(seen, "--script")) return fail("--headless needs --script FILE");
  if (Given(seen, "--script") && !o.headless) return fail("--script is only for --headless runs");
  if (!o.replay.empty() && (o.headless || !o.record.empty() || o.practice)) {
    return fail("--replay goes with neither --headless, --record nor --practice");
  }
  if (!o.replay.empty() && !o.words.empty()) {
    return fail("--replay plays the words the recording carries, so it takes no --words");
  }
  if (!o.replay.empty() && !o.online.empty()) return fail("--replay sends nothing online");
  if (o.headless && o.window) return fail("--window and --headless do not go together");
  if (o.headless && Given(seen, "--keys"))
    return fail("--keys is for play; a script gives key codes");
  return o;
}

}  // namespace app
