// A run's choices: each option given wins over its setting, each setting over the default.
#include "app/choices.h"

#include <gtest/gtest.h>

#include "app/online_play.h"
#include "game/title.h"

namespace app {
namespace {

struct Chosen {
  std::string_view language;  // its code
  bool practice, sound, keysByPosition, fullscreen;
  int32_t scale;
  bool operator==(const Chosen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Chosen& c) {
  return out << c.language << " practice " << c.practice << " sound " << c.sound << " position "
             << c.keysByPosition << " fullscreen " << c.fullscreen << " scale " << c.scale;
}

TEST(Choices, TheCommandLineOverTheSettingsOverTheEnvironmentAndTheDefaults) {
  const state::Settings all{.practice = true,
                            .sound = false,
                            .keysByPosition = true,
                            .fullscreen = false,
                            .scale = 2,
                            .language = "de"};
  const struct {
    std::vector<std::string> args;
    state::Settings settings;
    std::string locale;
    Chosen chosen;
  } cases[] = {
      {{}, {}, "", {"en", false, true, false, true, 0}},
      {{}, {}, "ja_JP.UTF-8", {"ja", false, true, false, true, 0}},
      {{}, {}, "pt_BR.UTF-8", {"en", false, true, false, true, 0}},
      {{}, all, "ja_JP.UTF-8", {"de", true, false, true, false, 2}},
      {{"--lang", "fr"}, all, "ja_JP.UTF-8", {"fr", true, false, true, false, 2}},
      {{"--keys", "character", "--scale", "3"}, all, "", {"de", true, false, false, false, 3}},
      {{"--practice", "--mute", "--window"},
       {.practice = false, .sound = true, .fullscreen = true},
       "",
       {"en", true, false, false, false, 0}},
      {{"--keys", "position"}, {.keysByPosition = false}, "", {"en", false, true, true, true, 0}},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto options = ParseCommandLine(c.args, error);
    ASSERT_TRUE(options) << error;
    const state::Choices got = ChooseChoices(*options, c.settings, c.locale);
    EXPECT_EQ((Chosen{media::LanguageCode(got.language), got.practice, got.sound,
                      got.keysByPosition, got.fullscreen, got.scale}),
              c.chosen)
        << testing::PrintToString(c.args) << " " << c.locale;
    EXPECT_EQ(got.settings, c.settings);  // kept as the file holds them
  }
}

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
