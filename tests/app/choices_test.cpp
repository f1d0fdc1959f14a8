// A run's online ranking: on with a usable address unless turned off, and its place line on the
// title (the other choices are cases of the readers test: tests/app/cases/choices.txt).
#include "app/choices.h"

#include <gtest/gtest.h>

#include "app/online_play.h"
#include "game/title.h"

namespace app {
namespace {

// Off unless asked for: an address kept from before online_ranking existed still means on.
TEST(Choices, TheOnlineRankingIsOnWithAUsableAddressUnlessTurnedOff) {
  const struct {
    std::string option;  // --online
    state::Settings settings;
    bool on;
    std::string server;  // as the options screen names it
  } cases[] = {
      {"", {.onlineRanking = true}, false, ""},
      {"", {.online = "https://rapiko.example/r/"}, true, "rapiko.example"},
      {"", {.online = "http://[::1]:8080/", .onlineRanking = false}, false, "[::1]:8080"},
      {"", {.online = "ftp://rapiko.example"}, false, ""},
      {"http://127.0.0.1:9", {.onlineRanking = false}, true, "127.0.0.1:9"},
  };
  for (const auto& c : cases) {
    const state::Choices got = ChooseChoices(Options{.online = c.option}, c.settings, "");
    EXPECT_EQ(got.online.on, c.on) << c.option << c.server;
    EXPECT_EQ(got.online.server, c.server);
  }
}

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
