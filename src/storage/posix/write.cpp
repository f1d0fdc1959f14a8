// Writing the files of the game folder on POSIX systems: durable replace and append.
#include "storage/write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "storage/append.h"
#include "storage/errors.h"
#include "storage/paths.h"
#include "storage/temporary.h"

namespace storage {
namespace {

constexpr const char* kBackupSuffix = ".bak";

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes a new file at a TemporaryName(path) for writing and sets temp to it.
// No one else can have made it or pointed it elsewhere: O_EXCL never opens
// what exists and never follows a link, and the name cannot be guessed.
int CreateTemporary(const std::string& path, uint32_t mode, std::string& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TemporaryName(path);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Keeps the old file's bytes as the backup, whatever its size: a second
// name for the same file, put in place by rename. Where the file system has
// no second names, the old file itself becomes the backup, moments before
// the new file takes its place. False with errno set on failure.
bool KeepBackup(const std::string& path) {
  const std::string backup = path + kBackupSuffix;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TemporaryName(path);
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

// Makes a rename or a new name in the folder durable. A file system that
// cannot sync a folder says EINVAL; the file is in place there all the same.
int SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
  ::close(fd);
  return error;
}

}  // namespace

WriteResult ReplaceFile(const std::string& path, std::string_view bytes,
                        const ReplaceOptions& options) {
  // A folder, FIFO or device at the name is never replaced; a link is
  // replaced itself, never written through.
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
    return {WriteResult::Step::kWrite, kNotPlainFile};
  }
  std::string temp;
  const int fd = CreateTemporary(path, kNewFileMode, temp);
  if (fd < 0) return {WriteResult::Step::kWrite, errno};
  const auto failed = [&temp](WriteResult::Step step, int error) {
    ::unlink(temp.c_str());
    return WriteResult{step, error};
  };
  if ((options.mode && ::fchmod(fd, static_cast<mode_t>(*options.mode)) != 0) ||
      !WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    return failed(WriteResult::Step::kWrite, error);
  }
  if (::close(fd) != 0) return failed(WriteResult::Step::kWrite, errno);
  if (options.keepOldAsBackup && !KeepBackup(path)) {
    return failed(WriteResult::Step::kBackup, errno);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) return failed(WriteResult::Step::kWrite, errno);
  if (const int error = SyncFolder(FolderOf(path))) {
    return {WriteResult::Step::kFolderSync, error};
  }
  return {};
}

WriteResult AppendLines(const std::string& path, std::string_view header, std::string_view lines) {
  const auto failed = [](int error) { return WriteResult{WriteResult::Step::kWrite, error}; };
  // Never through a link, and never blocking on a FIFO planted at the name.
  const int fd = ::open(
      path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
      static_cast<mode_t>(kNewFileMode));
  if (fd < 0) return failed(errno);
  struct stat st {};
  const bool statted = ::fstat(fd, &st) == 0;
  if (!statted || !S_ISREG(st.st_mode)) {
    const int error = statted ? kNotPlainFile : errno;
    ::close(fd);
    return failed(error);
  }
  const off_t oldSize = st.st_size;
  char lastByte = '\n';
  if (oldSize > 0 && ::pread(fd, &lastByte, 1, oldSize - 1) != 1) lastByte = '\n';
  const std::string bytes = AppendedBytes(static_cast<uint64_t>(oldSize), lastByte, header, lines);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    const int error = errno;
    if (::ftruncate(fd, oldSize) == 0) ::fsync(fd);  // leave no part of this append
    ::close(fd);
    return failed(error);
  }
  if (::close(fd) != 0) return failed(errno);
  if (oldSize == 0) SyncFolder(FolderOf(path));  // a new file: make its name durable too
  return {};
}

int CheckCanCreate(const std::string& myPath) {
  std::string temp;
  const int fd = CreateTemporary(myPath + "rapiko", kNewFileMode, temp);
  if (fd < 0) return errno;
  ::close(fd);
  ::unlink(temp.c_str());
  return 0;
}

}  // namespace storage
