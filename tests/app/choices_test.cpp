// The command line (what each option sets, the faults refused: command_lines.txt), and a run's
// choices: each option given wins over its setting, each setting over the default.
#include "app/choices.h"

#include <gtest/gtest.h>

#include "app/cli.h"
#include "support/case_file.h"

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

// The fields an option line sets, as one string.
std::string Flags(const app::Options& o) {
  return std::string(o.window ? "window " : "") + (o.headless ? "headless " : "") +
         (o.keysByPosition ? "position " : "") + (o.mute ? "mute " : "") +
         (o.stats ? "stats " : "") + (o.allLists ? "all-lists " : "") +
         (o.words.empty() ? "" : "words " + o.words + " ") + (o.practice ? "practice " : "") +
         "scale " + std::to_string(o.scale) + (o.dir.empty() ? "" : " dir " + o.dir) +
         (o.script.empty() ? "" : " script " + o.script) +
         (o.online.empty() ? "" : " online " + o.online);
}

TEST(CommandLine, ParsesEveryOptionAndRefusesFaults) {
  const auto rows = testing_support::CaseRows("app/command_lines.txt");
  EXPECT_GT(rows.size(), 25u);
  for (const std::vector<std::string>& f : rows) {  // the line, what it sets
    std::istringstream in(f[0]);
    std::vector<std::string> args;
    for (std::string a; in >> a;) args.push_back(a == "''" ? "" : a);
    std::string error;
    const auto o = app::ParseCommandLine(args, error);
    const std::string expected = f.size() > 1 ? f[1] : "";
    const bool said = expected.starts_with("refused: ");  // the row names the line said too
    EXPECT_EQ(o      ? Flags(*o)
              : said ? "refused: " + error
                     : "refused",
              expected)
        << f[0] << ": " << error;
    EXPECT_EQ(error.empty(), bool(o)) << f[0];
  }
}

}  // namespace
}  // namespace app
