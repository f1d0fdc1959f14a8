// The player's choices of the options screen, kept between games in a settings file.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "state/choices.h"

namespace game {

using state::Settings;

// The settings file's name in its folder (storage::ConfigFolder()).
constexpr const char* kSettingsFileName = "settings.ini";

// The settings in a file's bytes: `key=value` lines (words, practice,
// sound, keys, display, scale, language); notice gets one line for each line
// that is damaged or unknown, which is then ignored.
Settings ParseSettings(const std::string& bytes,
                       const std::function<void(const std::string&)>& notice);
// The file's bytes for these settings, one line for each choice made.
std::string SettingsBytes(const Settings& settings);

// Reads the settings file at path (none there: no choices made).
Settings ReadSettings(const std::string& path,
                      const std::function<void(const std::string&)>& notice);
// Writes the settings file at path durably, its folder made if need be;
// the one line that says why it failed, or nothing.
std::optional<std::string> WriteSettings(const std::string& path, const Settings& settings);

}  // namespace game
