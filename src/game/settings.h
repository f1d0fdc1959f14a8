// The player's choices of the options screen, kept between games in a settings file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "state/choices.h"

namespace game {

using state::Settings;

// The settings file's name in its folder (storage::ConfigFolder()).
constexpr const char* kSettingsFileName = "settings.ini";

// A settings file as read: the choices it holds, and the lines that stay
// when a choice is written into it.
struct SettingsFile {
  Settings settings;
  // Every line but the damaged ones, in order (without line ends): a line
  // this version does not understand (another version's key or value) stays.
  std::vector<std::string> lines;
  // Lines not understood, by number and text; damaged lines (not text, or
  // not key=value) by number.
  std::vector<std::pair<std::size_t, std::string>> unknown;
  std::vector<std::size_t> damaged;
  // Only its beginning was read (too large, a read failed): why, else empty.
  std::string cut;

  // Whether writing it again loses some of it (its old bytes are then kept
  // as settings.ini.bak).
  bool Damaged() const { return !cut.empty() || !damaged.empty(); }
  // One line saying what was ignored, kept and lost; empty when nothing was.
  std::string Report() const;
};

// The settings in a file's bytes: `key=value` lines (words, practice, sound,
// keys, display, scale, language, online, online_ranking, online_token), blank lines and `#`
// comments. cut: the bytes are a file's beginning, so a last line without its end is left out.
SettingsFile ParseSettings(const std::string& bytes, const std::string& cut = "");
// The file's bytes for these settings, one line for each choice made.
std::string SettingsBytes(const Settings& settings);

// Reads the settings file at path (none there: no choices made); notice
// gets one line when the file cannot be read or holds lines it ignores.
Settings ReadSettings(const std::string& path,
                      const std::function<void(const std::string&)>& notice);

// Writes this game's choice of one key (as in `settings`) into the settings
// file at path, durably, its folder made if need be. Like the ranking's
// save: under the folder's lock the file is read again and only that key's
// line changes, so what another game or version wrote stays. `settings`
// becomes the choices the file holds then. The one line that says why it
// failed, or nothing.
std::optional<std::string> WriteSetting(const std::string& path, Settings& settings,
                                        std::string_view key);

// Removes the temporaries of games killed while writing the settings in
// folder, under its lock; nothing made when there are none.
void RemoveSettingsLeftOvers(const std::string& folder);

}  // namespace game
