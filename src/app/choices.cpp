// The player's choices for a run: the command line over the settings file over the defaults.
#include "app/choices.h"

#include "net/address.h"

namespace app {

media::Language ChooseLanguage(const Options& options, const state::Settings& settings,
                               const std::string& locale) {
  for (const std::optional<std::string>& code :
       {std::optional<std::string>(options.lang), settings.language, std::optional(locale)}) {
    if (code && !code->empty()) {
      if (const auto language = media::LanguageOfLocale(*code)) return *language;
    }
  }
  return media::Language::kEnglish;
}

state::Choices ChooseChoices(const Options& options, const state::Settings& settings,
                             const std::string& locale) {
  state::Choices c;
  c.language = ChooseLanguage(options, settings, locale);
  c.settings = settings;
  c.practice = options.Given("--practice") || settings.practice.value_or(false);
  c.sound = !options.mute && settings.sound.value_or(true);
  c.keysByPosition =
      options.Given("--keys") ? options.keysByPosition : settings.keysByPosition.value_or(false);
  c.fullscreen = !options.window && settings.fullscreen.value_or(true);
  c.scale = options.Given("--scale") ? options.scale : settings.scale.value_or(0);
  // --online turns it on for this run; an address kept without online_ranking is on, as it was
  // before the options screen offered it. An address that cannot be used leaves it off.
  c.online.url = !options.online.empty() ? options.online : settings.online.value_or("");
  if (!c.online.url.empty() && !net::AddressFault(c.online.url)) {
    c.online.server = net::ServerName(c.online.url);
    c.online.on = !options.online.empty() || settings.onlineRanking.value_or(true);
    c.online.plainRemote = net::IsPlainRemote(c.online.url);
  }
  return c;
}

}  // namespace app
