// The online ranking's place line on the title (a run's choices are cases of the readers test:
// tests/app/cases/choices.txt).
#include "app/choices.h"

#include <gtest/gtest.h>

#include "app/online_play.h"
#include "game/title.h"

namespace app {
namespace {

// The title's place line fits its box in every language: a long list name gives way.
TEST(OnlineNote, ThePlaceFitsTheTitlesLineInEveryLanguage) {
  state::GameState g;
  for (int8_t i = 0; i < media::LanguageCount(); ++i) {
    g.choices.language = media::Language{i};
    const std::string note =
        OnlineNote(g, {.list = std::string(80, 'w'), .place = 1234, .error = ""});
    EXPECT_LE(media::TextWidth(note), game::kNoteWidth) << note;
    EXPECT_NE(note.find("1234"), std::string::npos) << note;
  }
}

}  // namespace
}  // namespace app
