// The player's choices of the options screen, kept between games in a settings file.
#include "game/settings.h"

#include <cerrno>

#include "media/messages.h"
#include "storage/errors.h"
#include "storage/folders.h"
#include "storage/paths.h"
#include "storage/read.h"
#include "storage/write.h"

namespace game {
namespace {

// A settings file is a few lines; anything larger is not one.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

std::optional<bool> Switch(const std::string& v, const char* on, const char* off) {
  if (v == on) return true;
  if (v == off) return false;
  return std::nullopt;
}

// A language's code as the list of languages writes it.
bool IsLanguageCode(const std::string& v) {
  const std::optional<media::Language> language = media::LanguageOfLocale(v);
  return language && media::LanguageCode(*language) == v;
}

}  // namespace

Settings ParseSettings(const std::string& bytes,
                       const std::function<void(const std::string&)>& notice) {
  Settings s;
  std::size_t number = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
    std::string line = bytes.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::size_t eq = line.find('=');
    const std::string key = line.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
    bool ok = eq != std::string::npos;
    if (ok && key == "words" && !value.empty()) {
      s.words = value;
    } else if (ok && key == "practice" && Switch(value, "on", "off")) {
      s.practice = Switch(value, "on", "off");
    } else if (ok && key == "sound" && Switch(value, "on", "off")) {
      s.sound = Switch(value, "on", "off");
    } else if (ok && key == "keys" && Switch(value, "position", "character")) {
      s.keysByPosition = Switch(value, "position", "character");
    } else if (ok && key == "display" && Switch(value, "fullscreen", "window")) {
      s.fullscreen = Switch(value, "fullscreen", "window");
    } else if (ok && key == "scale" && value.size() == 1 && value[0] >= '0' && value[0] <= '8') {
      s.scale = value[0] - '0';
    } else if (ok && key == "language" && IsLanguageCode(value)) {
      s.language = value;
    } else {
      ok = false;
    }
    if (!ok) {
      notice("settings line " + std::to_string(number) + " ignored: '" + line.substr(0, 80) + "'");
    }
  }
  return s;
}

std::string SettingsBytes(const Settings& s) {
  std::string out;
  const auto put = [&out](const char* key, const std::string& value) {
    out += std::string(key) + "=" + value + "\n";
  };
  if (s.words) put("words", *s.words);
  if (s.practice) put("practice", *s.practice ? "on" : "off");
  if (s.sound) put("sound", *s.sound ? "on" : "off");
  if (s.keysByPosition) put("keys", *s.keysByPosition ? "position" : "character");
  if (s.fullscreen) put("display", *s.fullscreen ? "fullscreen" : "window");
  if (s.scale) put("scale", std::to_string(*s.scale));
  if (s.language) put("language", *s.language);
  return out;
}

Settings ReadSettings(const std::string& path,
                      const std::function<void(const std::string&)>& notice) {
  const storage::FileRead file = storage::ReadWholeFile(path, kMaxSettingsBytes);
  if (!file.opened) {
    if (file.error != ENOENT)
      notice("cannot read " + path + ": " + file.Problem(kMaxSettingsBytes));
    return {};
  }
  if (!file.complete) notice(path + " is " + file.Problem(kMaxSettingsBytes) + "; it is ignored");
  return file.complete ? ParseSettings(file.bytes,
                                       [&](const std::string& line) { notice(path + ": " + line); })
                       : Settings{};
}

std::optional<std::string> WriteSettings(const std::string& path, const Settings& settings) {
  int error = storage::MakeFolder(storage::FolderOf(path));
  if (error == 0) {
    error = storage::ReplaceFile(path, SettingsBytes(settings)).Failure();
  }
  if (error == 0) return std::nullopt;
  return "cannot write the settings " + path + ": " + storage::ErrorText(error);
}

}  // namespace game
