// Folders of the game on POSIX systems: listing, making, removing files.
#include "storage/folders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "storage/errors.h"
#include "storage/temporary.h"

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
  // Each folder on the way, as `mkdir -p` makes them.
  for (std::size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
    const std::string part = folder.substr(0, at);
    if (!part.empty() && ::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return errno;
    if (at == std::string::npos) break;
  }
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0) return errno;
  return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

ScratchFolder::ScratchFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/rapiko-replay-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a scratch folder for the replay in " + FolderOf(pattern) +
                             ": " + ErrorText(errno));
  }
  path_ = pattern + "/";
}

ScratchFolder::~ScratchFolder() {
  for (const std::string& name : ListFolder(path_)) RemoveFile(path_ + name);
  ::rmdir(path_.c_str());
}

}  // namespace storage
