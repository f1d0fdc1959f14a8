// The title's line about a round's online place: whole in its box in every language, the
// place kept when a long list's name must give way.
#include <gtest/gtest.h>

#include "app/online_play.h"
#include "game/title.h"

namespace {

TEST(OnlineNote, ThePlaceFitsTheTitlesLineInEveryLanguage) {
  state::GameState g;
  for (const std::string& list : {std::string("rapdata"), std::string(80, 'w')}) {
    for (int8_t i = 0; i < media::LanguageCount(); ++i) {
      g.choices.language = media::Language{i};
      const std::string note = app::OnlineNote(g, {.list = list, .place = 1234, .error = ""});
      EXPECT_LE(media::TextWidth(note), game::kNoteWidth) << note;
      EXPECT_NE(note.find("1234"), std::string::npos) << note;
      EXPECT_EQ(note.find(list) != std::string::npos, list.size() < 10) << note;
    }
  }
}

}  // namespace
