// Saving "rapikosc.ini": lock, read back, merge, write a temporary file, rename it over the old
// one.
#include "ranking/ranking_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>

#include "media/files.h"
#include "ranking/folder_lock.h"
#include "ranking/name_entry.h"
#include "ranking/ranking_file.h"

namespace ranking {
namespace {

// Temporary files are "rapikosc.ini.tmp-" and random letters and digits.
constexpr const char* kTemporaryInfix = ".tmp-";
constexpr const char* kBackupSuffix = ".bak";
// A new file's permission bits before the umask; a replaced file keeps its own.
constexpr mode_t kNewFileMode = 0644;

std::string TemporaryPrefix(const std::string& myPath) {
  return myPath + kRankingFileName + kTemporaryInfix;
}

bool IsTemporaryName(std::string_view name) {
  const std::string prefix = std::string(kRankingFileName) + kTemporaryInfix;
  if (name.size() != prefix.size() + media::kRandomNameLength ||
      name.substr(0, prefix.size()) != prefix) {
    return false;
  }
  for (const char c : name.substr(prefix.size())) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Temporaries of games killed while saving. Every save holds the lock while
// its temporary exists, so under the lock none of them is in use, whatever
// process or machine made it.
void RemoveStaleTemporaries(const std::string& myPath) {
  DIR* dir = ::opendir(myPath.empty() ? "." : myPath.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (IsTemporaryName(entry->d_name)) ::unlink((myPath + entry->d_name).c_str());
  }
  ::closedir(dir);
}

// Keeps the damaged file's bytes as the backup, whatever its size: a second
// name for the same file, put in place by rename. Where the file system has
// no second names, the damaged file itself becomes the backup, moments
// before the new file takes its place. False with errno set on failure.
bool KeepBackup(const std::string& myPath, const std::string& path) {
  const std::string backup = path + kBackupSuffix;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = media::UnguessableName(TemporaryPrefix(myPath));
    if (::link(path.c_str(), name.c_str()) == 0) {
      if (::rename(name.c_str(), backup.c_str()) == 0) return true;
      const int error = errno;
      ::unlink(name.c_str());
      errno = error;
      return false;
    }
    if (errno != EEXIST) break;
  }
  return ::rename(path.c_str(), backup.c_str()) == 0;
}

// Makes the rename itself durable. A file system that cannot sync a folder
// says EINVAL; the new file is in place there all the same.
int SyncFolder(const std::string& myPath) {
  const int fd = ::open(myPath.empty() ? "." : myPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
  ::close(fd);
  return error;
}

std::string FolderName(const std::string& myPath) {
  return myPath.size() > 1 && myPath.back() == '/' ? myPath.substr(0, myPath.size() - 1) : myPath;
}

}  // namespace

void SaveRanking(state::GameState& g, const std::string& myPath) {
  const std::string path = myPath + kRankingFileName;
  const auto fail = [&path](const std::string& why) {
    throw SaveError("cannot write the ranking file " + path + ": " + why);
  };
  std::optional<FolderLock> lock;
  try {
    lock.emplace(myPath);
  } catch (const LockError& e) {
    fail(e.what());
  }

  // The file as other games may have left it, with this game's changes.
  const RankingFile disk = ReadRankingFile(path, RankingValues{});
  if (disk.status == RankingFile::Status::kUnreadable) {
    fail("it cannot be read (" + disk.problem + "), so it is left as it is");
  }
  RankingValues saved = disk.values;
  for (const state::RankEntry& entry : g.unsavedResults) {
    InsertRankEntry(saved.rankKeys, saved.rankNames, entry);
  }
  if (g.unsavedName) saved.entryName = g.entryName;
  if (lock->Held()) RemoveStaleTemporaries(myPath);

  // The old file is replaced only by a complete, synced new one.
  std::string temp;
  const int fd = media::CreateNewFile(TemporaryPrefix(myPath), kNewFileMode, temp);
  if (fd < 0) fail(std::strerror(errno));
  const auto failWith = [&](int error, const std::string& what) {
    ::unlink(temp.c_str());
    fail(what + std::strerror(error));
  };
  const bool keepMode = disk.status == RankingFile::Status::kRead;
  if ((keepMode && ::fchmod(fd, disk.mode) != 0) || !media::WriteAll(fd, RankingFileBytes(saved)) ||
      ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    failWith(error, "");
  }
  if (::close(fd) != 0) failWith(errno, "");
  if (!disk.damage.empty() && !KeepBackup(myPath, path)) {
    failWith(errno, std::string("cannot keep the damaged file as ") + kRankingFileName +
                        kBackupSuffix + ": ");
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) failWith(errno, "");

  PutValues(g, saved);
  g.unsavedResults.clear();
  g.unsavedName = false;
  if (const int error = SyncFolder(myPath)) {
    throw SaveError("the ranking file " + path +
                    " was replaced, but its folder could not be synced (" + std::strerror(error) +
                    "): a system crash now could still undo the save");
  }
}

void CheckFolderWritable(const std::string& myPath) {
  std::string name;
  const int fd = media::CreateNewFile(TemporaryPrefix(myPath), kNewFileMode, name);
  if (fd < 0) {
    throw SaveError("the ranking cannot be saved in the game folder " + FolderName(myPath) + ": " +
                    std::strerror(errno));
  }
  ::close(fd);
  ::unlink(name.c_str());
}

}  // namespace ranking
