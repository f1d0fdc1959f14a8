// Paths as the game handles them: separators, a path's folder and name, joining, the normal form.
#include "storage/paths.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace storage {
namespace {

// The length of the drive that starts path ("C:"), 0 without one.
std::size_t DriveLength(std::string_view path, const PathRules& rules) {
  const bool drive = rules.driveLetters && path.size() >= 2 && path[1] == ':' &&
                     std::isalpha(static_cast<unsigned char>(path[0]));
  return drive ? 2 : 0;
}

// The length of the root name that starts path: a drive, or on Windows the
// server of a network path (\\server).
std::size_t RootNameLength(std::string_view path, const PathRules& rules) {
  if (rules.driveLetters && path.size() > 2 && IsSeparator(path[0], rules) &&
      IsSeparator(path[1], rules) && !IsSeparator(path[2], rules)) {
    return std::min(path.find_first_of(rules.separators, 2), path.size());
  }
  return DriveLength(path, rules);
}

std::size_t LastSeparator(std::string_view path, const PathRules& rules) {
  return path.find_last_of(rules.separators);
}

}  // namespace

bool IsSeparator(char c, const PathRules& rules) {
  return rules.separators.find(c) != std::string_view::npos;
}

bool IsBareName(std::string_view value, const PathRules& rules) {
  return LastSeparator(value, rules) == std::string_view::npos &&
         !(rules.driveLetters && value.find(':') != std::string_view::npos);
}

std::string FolderOf(const std::string& path, const PathRules& rules) {
  const std::size_t drive = DriveLength(path, rules);
  const std::size_t slash = LastSeparator(path, rules);
  if (slash == std::string::npos || slash < drive) return drive > 0 ? path.substr(0, drive) : ".";
  // The root keeps its separator: "/" and "C:\".
  if (slash == drive) return path.substr(0, drive + 1);
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path, const PathRules& rules) {
  const std::size_t slash = LastSeparator(path, rules);
  if (slash != std::string::npos) return path.substr(slash + 1);
  return path.substr(DriveLength(path, rules));
}

std::string FolderPath(const std::string& folder, const PathRules& rules) {
  if (!folder.empty() && IsSeparator(folder.back(), rules)) return folder;
  const std::size_t slash = LastSeparator(folder, rules);
  return folder + (slash == std::string::npos ? '/' : folder[slash]);
}

std::string FolderName(const std::string& folderPath, const PathRules& rules) {
  const std::size_t root = DriveLength(folderPath, rules) + 1;
  if (folderPath.size() > root && IsSeparator(folderPath.back(), rules)) {
    return folderPath.substr(0, folderPath.size() - 1);
  }
  return folderPath;
}

std::string JoinPath(const std::string& folder, const std::string& name, const PathRules& rules) {
  return FolderPath(folder, rules) + name;
}

std::string NormalPath(const std::string& path, const PathRules& rules) {
  if (path.empty()) return path;
  const std::size_t drive = RootNameLength(path, rules);
  std::string root = path.substr(0, drive);
  std::size_t at = drive;
  if (at < path.size() && IsSeparator(path[at], rules)) {
    root += path[at];  // runs of separators at the root are one
    while (at < path.size() && IsSeparator(path[at], rules)) ++at;
  }
  // A root alone stays as written, as std::filesystem leaves it.
  if (drive == 0 && at == path.size()) return path;
  const bool rooted = root.size() > drive;
  // Each name with the separator written before it; an empty last name
  // stands for a separator that ends the path.
  struct Part {
    std::string name;
    char separator;
  };
  std::vector<Part> parts;
  const auto isName = [](const Part& p) { return p.name != ".." && !p.name.empty(); };
  char separator = 0;
  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparator(path[end], rules)) ++end;
    const std::string name = path.substr(at, end - at);
    const bool last = end >= path.size();
    if (name == ".") {
      if (last && !parts.empty()) parts.push_back({"", separator});
    } else if (name == "..") {
      if (!parts.empty() && isName(parts.back())) {
        parts.pop_back();
        if (last && !parts.empty()) parts.push_back({"", separator});
      } else if (!(parts.empty() && rooted)) {
        parts.push_back({name, separator});
      }
    } else if (!name.empty()) {
      parts.push_back({name, separator});
    } else if (last && !parts.empty() && parts.back().name != "..") {
      parts.push_back({"", separator});
    }
    if (last) break;
    separator = path[end];
    at = end;
    while (at < path.size() && IsSeparator(path[at], rules)) ++at;
  }
  // A path that ends in ".." ends there, without a separator after it.
  if (parts.size() >= 2 && parts.back().name.empty() && parts[parts.size() - 2].name == "..") {
    parts.pop_back();
  }
  std::string out = root;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += parts[i].separator;
    out += parts[i].name;
  }
  if (out.empty()) return ".";
  return out;
}

std::vector<std::string> FoldersOnTheWay(const std::string& folder, const PathRules& rules) {
  // The root that is always there: a drive, or a share (\\server\share).
  std::size_t root = RootNameLength(folder, rules);
  if (root > DriveLength(folder, rules)) {
    root = std::min(folder.find_first_of(rules.separators, root + 1), folder.size());
  }
  std::vector<std::string> folders;
  for (std::size_t at = folder.find_first_of(rules.separators, std::min(root + 1, folder.size()));;
       at = folder.find_first_of(rules.separators, at + 1)) {
    std::string part = folder.substr(0, at);
    if (part.size() > root && !IsSeparator(part.back(), rules)) folders.push_back(std::move(part));
    if (at == std::string::npos) break;
  }
  return folders;
}

bool IsWindowsDeviceName(std::string_view path) {
  const PathRules& rules = kWindowsPaths;
  // The device space, with either separator.
  if (path.size() >= 4 && IsSeparator(path[0], rules) && IsSeparator(path[1], rules) &&
      path[2] == '.' && IsSeparator(path[3], rules)) {
    return true;
  }
  // A reserved name is a device whatever follows its first dot or colon,
  // and whatever blanks end it.
  std::string name = NameOf(std::string(path), rules);
  name = name.substr(0, name.find_first_of(".:"));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" ||
      name == "CONOUT$") {
    return true;
  }
  if (name.size() >= 4 && (name.starts_with("COM") || name.starts_with("LPT"))) {
    const std::string number = name.substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";  // superscript 1, 2 and 3
  }
  return false;
}

}  // namespace storage
