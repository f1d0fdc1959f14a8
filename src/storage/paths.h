// Paths as the game handles them: separators, a path's folder and name, joining, the normal form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace storage {

// A system's rules for paths. '/' separates the parts of a path everywhere;
// on Windows '\\' does too, and a path may start with a drive ("C:") or a
// server (\\server).
struct PathRules {
  std::string_view separators;
  bool driveLetters;
};
inline constexpr PathRules kPosixPaths{"/", false};
inline constexpr PathRules kWindowsPaths{"/\\", true};

// The game follows the rules of the system it runs on. Every function here
// takes the other system's rules too, so that both are tested on each build.
#ifdef _WIN32
inline constexpr PathRules kHostPaths = kWindowsPaths;
#else
inline constexpr PathRules kHostPaths = kPosixPaths;
#endif
constexpr std::string_view kSeparators = kHostPaths.separators;
constexpr bool kDriveLetters = kHostPaths.driveLetters;

bool IsSeparator(char c, const PathRules& rules = kHostPaths);

// Whether value is a bare name, of a file in the current folder: it holds
// no separator, and on Windows no colon (a drive, or a file's stream).
bool IsBareName(std::string_view value, const PathRules& rules = kHostPaths);

// The folder of a path, as a path that names it ("." for a bare name, the
// root for a name in the root).
std::string FolderOf(const std::string& path, const PathRules& rules = kHostPaths);

// The last part of a path, after its last separator.
std::string NameOf(const std::string& path, const PathRules& rules = kHostPaths);

// The folder as the beginning of its files' paths: folder ending in a
// separator, the one its name already ends in or else '/'.
std::string FolderPath(const std::string& folder, const PathRules& rules = kHostPaths);

// The folder's name without the separator FolderPath added (a root keeps its own).
std::string FolderName(const std::string& folderPath, const PathRules& rules = kHostPaths);

// name in folder: FolderPath(folder) + name.
std::string JoinPath(const std::string& folder, const std::string& name,
                     const PathRules& rules = kHostPaths);

// The lexical normal form, as std::filesystem's lexically_normal gives it
// on POSIX systems ("." and "name/.." taken out, runs of separators made
// one), keeping each separator as it was written.
std::string NormalPath(const std::string& path, const PathRules& rules = kHostPaths);

// The folders `mkdir -p folder` makes, the outermost first: each path on
// the way that ends in a name and is longer than the root that is always
// there (a drive "C:\" or a share \\server\share\).
std::vector<std::string> FoldersOnTheWay(const std::string& folder,
                                         const PathRules& rules = kHostPaths);

// Whether a path names a Windows device rather than a file: CON, NUL, COM1
// and the like in any folder and with any extension, or a path of the
// device space (\\.\...). The Windows side refuses such a name before it
// opens it.
bool IsWindowsDeviceName(std::string_view path);

}  // namespace storage
