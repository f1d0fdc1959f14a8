// What a player reads for a word list.
#include "state/list_label.h"

#include <array>
#include <utility>

namespace state {

std::string ListLabel(const GameState& g, std::string_view name) {
  // The lists of the game's words/ folder, which a player's own list of the same name takes.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kShipped = {{
      {"", media::Msg("The game's words")},
      {"english", media::Msg("English words")},
      {"home", media::Msg("Home row")},
      {"top", media::Msg("Top row")},
      {"bottom", media::Msg("Bottom row")},
      {"digits", media::Msg("Digits")},
  }};
  for (const auto& [file, label] : kShipped) {
    if (file == name) return std::string(Tr(g, label));
  }
  return std::string(name);
}

}  // namespace state
