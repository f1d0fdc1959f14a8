// Start-up, the main loop and shutdown of the program.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "media/platform.h"
#include "state/game_state.h"

namespace game {

// The folder text ending in one path separator.
std::string MyPath(const std::string& folder);

// The difference of two tick counts, modulo 2^32: also right on the pass
// where the counter crosses 2^31 or 2^32.
int32_t ElapsedMs(uint32_t now, uint32_t last);

// What the command line adds to a game.
struct StartOptions {
  bool practice = false;  // new words favour the weakest keys of the history
  // Practice with these keys instead (a recorded practice session replayed).
  std::optional<std::vector<int16_t>> practiceKeys = std::nullopt;
  // A game that writes nothing (a recording shown again): no ranking, no
  // history, nothing made in the game folder; the words and the ranking
  // come from these bytes where given.
  bool readOnly = false;
  std::optional<std::string> wordBytes = std::nullopt;
  std::optional<std::string> rankingBytes = std::nullopt;
  // The player's other choices: the language, the list in play (its name
  // also names its ranking), what the options screen may do.
  state::Choices choices = {};
};

// Brings the game up from the game folder myPath; the words come from
// wordFile, or from the folder's word file when it is empty. Returns the
// lines to show the player on standard error (a damaged or unreadable
// ranking file, what the word file left out). Throws ranking::SaveError when
// the folder cannot be written, media::PlatformError when a device or
// back.bmp fails.
std::vector<std::string> StartUp(state::GameState& g, media::System& system,
                                 const std::string& myPath, const std::string& wordFile = {},
                                 const StartOptions& options = {});

// Takes one line about a problem the game goes on after (a save that failed
// and will be tried again).
using ReportLine = std::function<void(const std::string& line)>;

// Runs until quitRequested (or a quit signal), saving each entered result
// (unless readOnly).
void RunMainLoop(state::GameState& g, media::System& system, const std::string& myPath,
                 const ReportLine& report, bool readOnly = false);
// Saves the ranking first (unless readOnly): throws ranking::SaveError when
// it cannot.
void ShutDown(state::GameState& g, media::System& system, const std::string& myPath,
              bool readOnly = false);

}  // namespace game
