// The command line of the program.
#include "app/cli.h"

#include <filesystem>
#include <system_error>

#include "app/word_lists.h"

namespace app {

std::string UsageText() {
  return "Usage: rapiko [--window [--scale N]] [--keys MODE] [--mute] [--practice] [--dir DIR]\n"
         "                     [--words LIST|FILE] [--record FILE]\n"
         "       rapiko --replay FILE [--window [--scale N]] [--dir DIR]\n"
         "       rapiko --headless --script FILE [--practice] [--dir DIR] [--words LIST|FILE]\n"
         "                     [--record FILE]\n"
         "       rapiko --stats [--dir DIR]\n"
         "\n"
         "A keyboard-practice arcade game: type the falling letters, fire with Space.\n"
         "On the title screen, Tab opens the statistics of your rounds.\n"
         "\n"
         "Options:\n"
         "  --window          play in a window instead of full screen (as large a whole\n"
         "                    multiple of 640 x 480 as fits the desktop)\n"
         "  --scale N         window size as N times 640 x 480 (1 to 8; implies --window)\n"
         "  --keys MODE       'character' (default): a key counts as the character it types\n"
         "                    on your keyboard layout; 'position': as the key in its place\n"
         "                    on a US keyboard\n"
         "  --mute            play without sound\n"
         "  --dir DIR         game folder with back.bmp, rapdata.ini and rapikosc.ini\n"
         "                    (default: the program's folder if it holds back.bmp, else\n"
         "                    $XDG_DATA_HOME/rapiko or ~/.local/share/rapiko, made and\n"
         "                    filled with the installed back.bmp and rapdata.ini)\n"
         "  --words LIST      play a word list instead of the game folder's rapdata.ini:\n"
         "                    LIST.ini from the game folder's words/, or one that comes\n"
         "                    with the game: " +
         ShippedWordLists() +
         "\n"
         "  --words FILE      play the words of FILE (a path: it holds a / or ends in .ini)\n"
         "  --record FILE     write the session as a script to FILE; a headless run\n"
         "                    of that script plays it again exactly\n"
         "  --replay FILE     show a recording in the window at its real pace (Esc\n"
         "                    stops it; nothing is saved). The best round of each\n"
         "                    session is kept in the game folder's replays/\n"
         "  --headless        run without window or sound, driven by a script\n"
         "  --script FILE     the script of a headless run ('-' for standard input)\n"
         "  --practice        new words favour your weakest keys (from the history)\n"
         "  --stats           print the statistics of the history (rapiko-history.csv)\n"
         "                    and exit\n"
         "  --help            show this help and exit\n"
         "  --version         show the version and exit\n";
}

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  Options o;
  bool scaleGiven = false;
  bool scriptGiven = false;
  bool keysGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* name) -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        error = std::string(name) + " needs a value";
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--window") {
      o.window = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--stats") {
      o.stats = true;
    } else if (a == "--practice") {
      o.practice = true;
    } else if (a == "--scale") {
      auto v = value("--scale");
      if (!v) return std::nullopt;
      if (v->size() != 1 || (*v)[0] < '1' || (*v)[0] > '8') {
        error = "--scale takes a whole number from 1 to 8, not '" + *v + "'";
        return std::nullopt;
      }
      o.scale = (*v)[0] - '0';
      scaleGiven = true;
    } else if (a == "--mute") {
      o.mute = true;
    } else if (a == "--keys") {
      auto v = value("--keys");
      if (!v) return std::nullopt;
      if (*v != "character" && *v != "position") {
        error = "--keys takes 'character' or 'position', not '" + *v + "'";
        return std::nullopt;
      }
      o.keysByPosition = *v == "position";
      keysGiven = true;
    } else if (a == "--dir") {
      auto v = value("--dir");
      if (!v) return std::nullopt;
      if (v->empty()) {
        error = "--dir needs a folder";
        return std::nullopt;
      }
      o.dir = *v;
    } else if (a == "--words") {
      auto v = value("--words");
      if (!v) return std::nullopt;
      if (v->empty()) {
        error = "--words needs a list name or a file";
        return std::nullopt;
      }
      o.words = *v;
    } else if (a == "--record") {
      auto v = value("--record");
      if (!v) return std::nullopt;
      if (v->empty()) {
        error = "--record needs a file";
        return std::nullopt;
      }
      o.record = *v;
    } else if (a == "--replay") {
      auto v = value("--replay");
      if (!v) return std::nullopt;
      if (v->empty()) {
        error = "--replay needs a file";
        return std::nullopt;
      }
      o.replay = *v;
    } else if (a == "--script") {
      auto v = value("--script");
      if (!v) return std::nullopt;
      o.script = *v;
      scriptGiven = true;
    } else {
      error = "unknown option '" + a + "'";
      return std::nullopt;
    }
  }
  if (o.help || o.version) return o;
  if (o.stats && (o.headless || o.window || scaleGiven || o.practice || !o.record.empty() ||
                  !o.replay.empty() || !o.words.empty())) {
    error = "--stats goes only with --dir";
    return std::nullopt;
  }
  if (scaleGiven) o.window = true;
  if (o.headless && !scriptGiven) {
    error = "--headless needs --script FILE";
    return std::nullopt;
  }
  if (scriptGiven && !o.headless) {
    error = "--script is only for --headless runs";
    return std::nullopt;
  }
  if (!o.replay.empty() && (o.headless || !o.record.empty() || o.practice)) {
    error = "--replay goes with neither --headless, --record nor --practice";
    return std::nullopt;
  }
  if (!o.replay.empty() && !o.words.empty()) {
    error = "--replay plays the words the recording carries, so it takes no --words";
    return std::nullopt;
  }
  if (o.headless && o.window) {
    error = "--window and --headless do not go together";
    return std::nullopt;
  }
  if (o.headless && keysGiven) {
    error = "--keys is for play; a script gives key codes";
    return std::nullopt;
  }
  return o;
}

std::string ProgramFolder(const std::string& argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) exe = std::filesystem::absolute(argv0, ec);
  std::string folder = exe.parent_path().string();
  return folder.empty() ? "." : folder;
}

}  // namespace app
