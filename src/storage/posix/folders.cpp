// Folders of the game on POSIX systems: listing, making, removing files.
#include "storage/folders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "storage/paths.h"

namespace storage {

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

int MakeFolder(const std::string& folder) {
  for (const std::string& part : FoldersOnTheWay(folder)) {
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return errno;
  }
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return errno;
  return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

bool IsOwnFolder(const std::string& folder) {
  struct stat info {};
  return ::lstat(FolderName(folder).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace storage
