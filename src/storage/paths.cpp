// Paths as the game handles them: separators, a path's folder and name, joining, the normal form.
#include "storage/paths.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace storage {
namespace {

// The length of the drive that starts path ("C:"), 0 without one.
std::size_t DriveLength(std::string_view path) {
  const bool drive = kDriveLetters && path.size() >= 2 && path[1] == ':' &&
                     std::isalpha(static_cast<unsigned char>(path[0]));
  return drive ? 2 : 0;
}

// The length of the root name that starts path: a drive, or on Windows the
// server of a network path (\\server).
std::size_t RootNameLength(std::string_view path) {
  if (kDriveLetters && path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
      !IsSeparator(path[2])) {
    return std::min(path.find_first_of(kSeparators, 2), path.size());
  }
  return DriveLength(path);
}

std::size_t LastSeparator(std::string_view path) { return path.find_last_of(kSeparators); }

}  // namespace

bool IsSeparator(char c) { return kSeparators.find(c) != std::string_view::npos; }

bool IsBareName(std::string_view value) {
  return LastSeparator(value) == std::string_view::npos &&
         !(kDriveLetters && value.find(':') != std::string_view::npos);
}

std::string FolderOf(const std::string& path) {
  const std::size_t drive = DriveLength(path);
  const std::size_t slash = LastSeparator(path);
  if (slash == std::string::npos || slash < drive) return drive > 0 ? path.substr(0, drive) : ".";
  // The root keeps its separator: "/" and "C:\".
  if (slash == drive) return path.substr(0, drive + 1);
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = LastSeparator(path);
  if (slash != std::string::npos) return path.substr(slash + 1);
  return path.substr(DriveLength(path));
}

std::string FolderPath(const std::string& folder) {
  if (!folder.empty() && IsSeparator(folder.back())) return folder;
  const std::size_t slash = LastSeparator(folder);
  return folder + (slash == std::string::npos ? '/' : folder[slash]);
}

std::string FolderName(const std::string& folderPath) {
  const std::size_t root = DriveLength(folderPath) + 1;
  if (folderPath.size() > root && IsSeparator(folderPath.back())) {
    return folderPath.substr(0, folderPath.size() - 1);
  }
  return folderPath;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return FolderPath(folder) + name;
}

std::string NormalPath(const std::string& path) {
  if (path.empty()) return path;
  const std::size_t drive = RootNameLength(path);
  std::string root = path.substr(0, drive);
  std::size_t at = drive;
  if (at < path.size() && IsSeparator(path[at])) {
    root += path[at];  // runs of separators at the root are one
    while (at < path.size() && IsSeparator(path[at])) ++at;
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
    while (end < path.size() && !IsSeparator(path[end])) ++end;
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
    while (at < path.size() && IsSeparator(path[at])) ++at;
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

}  // namespace storage
