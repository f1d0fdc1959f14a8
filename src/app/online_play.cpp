// A game's online ranking: its server, the player's token there, and what the title says of it.
#include "app/online_play.h"

#include <iostream>
#include <utility>

#include "game/settings.h"
#include "game/title.h"
#include "net/address.h"
#include "net/http.h"

namespace app {
namespace {

void Tell(const std::string& line) { std::cerr << "rapiko: " << line << '\n'; }

}  // namespace

std::optional<online::Setup> OnlineSetup(const state::OnlineRanking& online,
                                         const std::string& settingsPath) {
  const std::string& url = online.url;
  if (url.empty()) return std::nullopt;
  if (const auto fault = net::AddressFault(url)) {  // the settings' online=
    Tell("online: " + *fault + "; playing offline");
    return std::nullopt;
  }
  if (!net::Available()) {
    Tell("--online: " + net::NoNetworkText() + "; playing offline");
    return std::nullopt;
  }
  // Once, though each session in the window (after a kept round is shown) sets up anew.
  static bool warned = false;
  if (online.on && online.plainRemote && !std::exchange(warned, true)) {
    Tell("the server " + url +
         " is reached by plain http: what is sent to it can be read and changed on the way");
  }
  online::Setup setup;
  setup.url = url;
  if (!settingsPath.empty()) {
    setup.token = game::ReadSettings(settingsPath, Tell).onlineToken.value_or("");
    setup.keepToken = [settingsPath](const std::string& token) {
      state::Settings settings;
      settings.onlineToken = token;
      if (const auto fault = game::WriteSetting(settingsPath, settings, "online_token")) {
        Tell("the online token cannot be kept: " + *fault);
      }
    };
  }
  return setup;
}

std::string OnlineNote(const state::GameState& g, const online::Outcome& o) {
  if (o.error.empty() && o.place) {
    // A long list's name gives way, so that the place shows in every language.
    const std::string_view text = state::Tr(g, "Online: place {0} on the board of {1}");
    std::string list = o.list;
    const auto note = [&] {
      return media::Format(text, {std::to_string(*o.place), list + (list == o.list ? "" : "...")});
    };
    while (media::TextWidth(note()) > game::kNoteWidth && !list.empty()) {
      while ((static_cast<unsigned char>(list.back()) & 0xC0) == 0x80) list.pop_back();
      list.pop_back();
    }
    return note();
  }
  // Why not, in the words of the network or the server.
  return media::Format(state::Tr(g, "Online: {0}"), {o.error});
}

}  // namespace app
