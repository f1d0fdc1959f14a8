// The player's choices for a run: the command line over the settings file over the defaults.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/cli.h"
#include "state/choices.h"

namespace app {

// The language of the game's texts: --lang, else the setting, else the
// locale of the environment (LC_ALL, LC_MESSAGES, LANG), else English.
media::Language ChooseLanguage(const Options& options, const state::Settings& settings,
                               const std::string& locale);

// The choices of an interactive game: each command-line option given
// overrides its setting for this run (the settings file keeps its own),
// each setting made overrides the default.
state::Choices ChooseChoices(const Options& options, const state::Settings& settings,
                             const std::string& locale);

}  // namespace app
