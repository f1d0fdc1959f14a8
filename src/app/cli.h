// The command line of the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct Options {
  bool help = false;
  bool version = false;
  bool window = false;
  int32_t scale = 0;            // window size as a multiple of 640 x 480; 0: the largest that fits
  std::string dir;              // empty: chosen as ChooseGameFolder says
  std::string words;            // empty: the game folder's rapdata.ini; else a list name or a file
  bool keysByPosition = false;  // --keys position: keys by their place, not their character
  bool mute = false;
  bool headless = false;
  std::string script;              // with headless: a path, or "-" for standard input
  std::string record;              // write the session as a script to this file
  std::string replay;              // show this recording in the window
  bool stats = false;              // print the statistics of the history and exit
  bool allLists = false;           // with stats: the rounds of every word list
  bool practice = false;           // new words favour the weakest keys of the history
  std::string lang;                // a language code; empty: the setting, else the environment
  std::string online;              // the online ranking's server; empty: offline
  std::vector<std::string> given;  // the options given, by name
  bool Given(const std::string& name) const;
};

// Parses the arguments after the program name. On a fault returns nothing
// and sets error to one line saying what is wrong.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

std::string UsageText();

}  // namespace app
