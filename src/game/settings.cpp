// The player's choices of the options screen, kept between games in a settings file.
#include "game/settings.h"

#include <algorithm>
#include <cerrno>

#include "media/messages.h"
#include "media/text.h"
#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/paths.h"
#include "storage/read.h"
#include "storage/temporary.h"
#include "storage/write.h"

namespace game {
namespace {

// A settings file is a few lines: of a larger one only this much is read.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;
// How many ignored lines a report names; the rest are counted.
constexpr std::size_t kLinesNamed = 3;

std::optional<bool> Switch(const std::string& v, const char* on, const char* off) {
  if (v == on) return true;
  if (v == off) return false;
  return std::nullopt;
}

std::optional<std::string> Word(const std::optional<bool>& v, const char* on, const char* off) {
  if (!v) return std::nullopt;
  return std::string(*v ? on : off);
}

// A language's code as the list of languages writes it.
bool IsLanguageCode(const std::string& v) {
  const std::optional<media::Language> language = media::LanguageOfLocale(v);
  return language && media::LanguageCode(*language) == v;
}

// Each key: its value read into the settings (false: a value this version
// does not know), and its value as the settings hold it (none: no line).
struct Key {
  const char* name;
  bool (*read)(Settings&, const std::string&);
  std::optional<std::string> (*value)(const Settings&);
};

template <typename T>
bool Put(std::optional<T>& field, const std::optional<T>& value) {
  if (value) field = value;
  return value.has_value();
}

// In the order a new file lists them.
const Key kKeys[] = {
    {"words", [](Settings& s, const std::string& v) { return !v.empty() && (s.words = v, true); },
     [](const Settings& s) { return s.words; }},
    {"practice",
     [](Settings& s, const std::string& v) { return Put(s.practice, Switch(v, "on", "off")); },
     [](const Settings& s) { return Word(s.practice, "on", "off"); }},
    {"sound",
     [](Settings& s, const std::string& v) { return Put(s.sound, Switch(v, "on", "off")); },
     [](const Settings& s) { return Word(s.sound, "on", "off"); }},
    {"keys",
     [](Settings& s, const std::string& v) {
       return Put(s.keysByPosition, Switch(v, "position", "character"));
     },
     [](const Settings& s) { return Word(s.keysByPosition, "position", "character"); }},
    {"display",
     [](Settings& s, const std::string& v) {
       return Put(s.fullscreen, Switch(v, "fullscreen", "window"));
     },
     [](const Settings& s) { return Word(s.fullscreen, "fullscreen", "window"); }},
    {"scale",
     [](Settings& s, const std::string& v) {
       const bool ok = v.size() == 1 && v[0] >= '0' && v[0] <= '8';
       if (ok) s.scale = v[0] - '0';
       return ok;
     },
     [](const Settings& s) {
       return s.scale ? std::optional(std::to_string(*s.scale)) : std::nullopt;
     }},
    {"language",
     [](Settings& s, const std::string& v) { return IsLanguageCode(v) && (s.language = v, true); },
     [](const Settings& s) { return s.language; }},
    {"online", [](Settings& s, const std::string& v) { return !v.empty() && (s.online = v, true); },
     [](const Settings& s) { return s.online; }},
    {"online_ranking",
     [](Settings& s, const std::string& v) { return Put(s.onlineRanking, Switch(v, "on", "off")); },
     [](const Settings& s) { return Word(s.onlineRanking, "on", "off"); }},
    {"online_token",
     [](Settings& s, const std::string& v) { return !v.empty() && (s.onlineToken = v, true); },
     [](const Settings& s) { return s.onlineToken; }},
};

const Key* FindKey(std::string_view name) {
  for (const Key& key : kKeys) {
    if (name == key.name) return &key;
  }
  return nullptr;
}

std::string_view KeyOf(std::string_view line) { return line.substr(0, line.find('=')); }

// Text a person wrote: valid UTF-8 without control characters but tabs.
bool IsText(const std::string& line) {
  const bool controls = std::any_of(line.begin(), line.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t') || b == 0x7F;
  });
  return !controls && media::ToJsonUtf8(line) == line;
}

std::string Lines(std::size_t n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

}  // namespace

SettingsFile ParseSettings(const std::string& bytes, const std::string& cut) {
  SettingsFile file;
  file.cut = cut;
  std::size_t number = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t newline = bytes.find('\n', at);
    // The beginning of a line the cut went through is not read.
    if (newline == std::string::npos && !cut.empty()) break;
    const std::size_t end = std::min(newline, bytes.size());
    std::string line = bytes.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t eq = line.find('=');
    if (!line.empty() && line[0] != '#' && (eq == 0 || eq == std::string::npos || !IsText(line))) {
      file.damaged.push_back(number);
      continue;
    }
    file.lines.push_back(line);
    if (line.empty() || line[0] == '#') continue;
    const Key* key = FindKey(KeyOf(line));
    if (!key || !key->read(file.settings, line.substr(eq + 1))) {
      file.unknown.emplace_back(number, line.substr(0, 80));
    }
  }
  return file;
}

std::string SettingsFile::Report() const {
  std::vector<std::string> parts;
  if (!cut.empty())
    parts.push_back(cut + ": only its first " + std::to_string(kMaxSettingsBytes / 1024) +
                    " KiB read");
  if (!unknown.empty()) {
    std::string part = Lines(unknown.size()) + " not understood, kept as they are (";
    for (std::size_t i = 0; i < std::min(unknown.size(), kLinesNamed); ++i) {
      part += (i ? ", line " : "line ") + std::to_string(unknown[i].first) + " '" +
              unknown[i].second + "'";
    }
    parts.push_back(part + (unknown.size() > kLinesNamed ? ", ...)" : ")"));
  }
  if (!damaged.empty()) {
    std::string part = Lines(damaged.size()) + " damaged, ignored (";
    for (std::size_t i = 0; i < std::min(damaged.size(), kLinesNamed); ++i) {
      part += (i ? ", line " : "line ") + std::to_string(damaged[i]);
    }
    parts.push_back(part + (damaged.size() > kLinesNamed ? ", ...)" : ")"));
  }
  if (Damaged()) {
    parts.push_back("the file is kept as " + std::string(kSettingsFileName) +
                    ".bak when a choice is next saved");
  }
  std::string report;
  for (const std::string& part : parts) report += (report.empty() ? "" : "; ") + part;
  return report;
}

std::string SettingsBytes(const Settings& s) {
  std::string out;
  for (const Key& key : kKeys) {
    if (const auto value = key.value(s)) out += std::string(key.name) + "=" + *value + "\n";
  }
  return out;
}

namespace {

// The file at path as it is now: nothing when it cannot be read (why in
// *problem), an empty file when there is none.
std::optional<SettingsFile> ReadSettingsFile(const std::string& path, std::string* problem,
                                             std::optional<uint32_t>* mode = nullptr) {
  const storage::FileRead file = storage::ReadWholeFile(path, kMaxSettingsBytes);
  if (!file.opened) {
    if (file.error == ENOENT && !file.notPlain) return SettingsFile{};
    *problem = file.Problem(kMaxSettingsBytes);
    return std::nullopt;
  }
  if (mode) *mode = file.mode;
  std::string cut;
  if (file.tooLarge) {
    cut = "larger than " + std::to_string(kMaxSettingsBytes / 1024) + " KiB";
  } else if (!file.complete) {
    cut = "a read failed (" + storage::ErrorText(file.error) + ")";
  }
  return ParseSettings(file.bytes, cut);
}

}  // namespace

Settings ReadSettings(const std::string& path,
                      const std::function<void(const std::string&)>& notice) {
  std::string problem;
  const std::optional<SettingsFile> file = ReadSettingsFile(path, &problem);
  if (!file) {
    notice("cannot read " + path + ": " + problem);
    return {};
  }
  if (const std::string report = file->Report(); !report.empty()) notice(path + ": " + report);
  return file->settings;
}

std::optional<std::string> WriteSetting(const std::string& path, Settings& settings,
                                        std::string_view key) {
  const auto failure = [&path](const std::string& why) {
    return "cannot write the settings " + path + ": " + why;
  };
  const std::string folder = storage::FolderPath(storage::FolderOf(path));
  if (const int error = storage::MakeFolder(storage::FolderOf(path))) {
    return failure(storage::ErrorText(error));
  }
  std::optional<storage::FolderLock> lock;
  try {
    // The folder's lock, of the game folder's name: where the two folders
    // are one (on Windows), one lock keeps every writer's temporaries apart.
    lock.emplace(folder);
  } catch (const storage::LockError& e) {
    return failure(e.what());
  }
  if (lock->Held()) storage::RemoveStaleTemporaries(folder);
  // The file as other games left it; this game's choice changes its own key alone.
  std::string problem;
  std::optional<uint32_t> mode;
  std::optional<SettingsFile> disk = ReadSettingsFile(path, &problem, &mode);
  if (!disk) return failure("it cannot be read (" + problem + "), so it is left as it is");
  const Key* changed = FindKey(key);
  const std::optional<std::string> value = changed ? changed->value(settings) : std::nullopt;
  std::string bytes;
  bool written = false;
  for (const std::string& line : disk->lines) {
    const bool mine = line.find('=') != std::string::npos && KeyOf(line) == key;
    if (mine && value && !written) bytes += std::string(key) + "=" + *value + "\n";
    written = written || mine;
    if (!mine) bytes += line + "\n";
  }
  if (value && !written) bytes += std::string(key) + "=" + *value + "\n";

  storage::ReplaceOptions options;
  options.mode = mode;
  options.keepOldAsBackup = disk->Damaged();
  if (const int error = storage::ReplaceFile(path, bytes, options).Failure()) {
    return failure(storage::ErrorText(error));
  }
  settings = ParseSettings(bytes).settings;
  return std::nullopt;
}

void RemoveSettingsLeftOvers(const std::string& folder) {
  const std::string myPath = storage::FolderPath(folder);
  const std::vector<std::string> names = storage::ListFolder(myPath);
  if (!storage::IsOwnFolder(folder) ||
      std::none_of(names.begin(), names.end(),
                   [](const std::string& name) { return storage::IsTemporaryName(name); })) {
    return;
  }
  try {
    storage::FolderLock lock(myPath);
    if (lock.Held()) storage::RemoveStaleTemporaries(myPath);
  } catch (const storage::LockError&) {
  }
}

}  // namespace game
