// Paths as the game handles them: separators, a path's folder and name, joining, the normal form.
#pragma once

#include <string>
#include <string_view>

namespace storage {

// '/' separates the parts of a path everywhere; on Windows '\\' does too,
// and a path may start with a drive ("C:").
#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
constexpr bool kDriveLetters = true;
#else
constexpr std::string_view kSeparators = "/";
constexpr bool kDriveLetters = false;
#endif

bool IsSeparator(char c);

// Whether value is a bare name, of a file in the current folder: it holds
// no separator, and on Windows no colon (a drive, or a file's stream).
bool IsBareName(std::string_view value);

// The folder of a path, as a path that names it ("." for a bare name, the
// root for a name in the root).
std::string FolderOf(const std::string& path);

// The last part of a path, after its last separator.
std::string NameOf(const std::string& path);

// The folder as the beginning of its files' paths: folder ending in a
// separator, the one its name already ends in or else '/'.
std::string FolderPath(const std::string& folder);

// The folder's name without the separator FolderPath added (a root keeps its own).
std::string FolderName(const std::string& folderPath);

// name in folder: FolderPath(folder) + name.
std::string JoinPath(const std::string& folder, const std::string& name);

// The lexical normal form, as std::filesystem's lexically_normal gives it
// on POSIX systems ("." and "name/.." taken out, runs of separators made
// one), keeping each separator as it was written.
std::string NormalPath(const std::string& path);

}  // namespace storage
