// Writing the files of the game folder on Windows: durable replace and append.
#include "storage/write.h"

#include <cerrno>

#include "storage/append.h"
#include "storage/errors.h"
#include "storage/paths.h"
#include "storage/temporary.h"
#include "storage/windows/win32.h"

namespace storage {
namespace {

using windows::Handle;
using windows::Kind;
using windows::Wide;

constexpr const char* kBackupSuffix = ".bak";
// A rename that is on the disk when it returns: Windows' folder sync.
constexpr DWORD kDurableMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// Moves from over to, durably. Another program may hold either file for a
// moment (a virus scanner looks at every new file): the move is tried again
// for a second before it fails.
bool MoveDurably(const std::wstring& from, const std::wstring& to) {
  constexpr int kTries = 50;
  for (int tries = 1;; ++tries) {
    if (MoveFileExW(from.c_str(), to.c_str(), kDurableMove)) return true;
    const DWORD error = GetLastError();
    const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                      error == ERROR_LOCK_VIOLATION;
    if (!held || tries == kTries) {
      SetLastError(error);
      return false;
    }
    Sleep(20);
  }
}

// Writes all of bytes at offset; 0, or the errno of the failure.
int WriteAllAt(HANDLE h, uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(h, bytes.data(), want, &written, &at)) return windows::LastErrno();
    if (written == 0) return ENOSPC;
    bytes.remove_prefix(written);
    offset += written;
  }
  return 0;
}

// Makes a new file at a TemporaryName(path) for writing and sets temp to
// it. CREATE_NEW never opens what exists, a link among them, and the name
// cannot be guessed; what was opened is checked to be a plain file on disk
// all the same.
Handle CreateTemporary(const std::string& path, std::string& temp, int& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TemporaryName(path);
    Handle h(CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (h.Ok()) {
      if (windows::KindOf(h.Get()) == Kind::kPlainFile) return h;
      error = kNotPlainFile;
      return Handle();
    }
    const DWORD failure = GetLastError();
    if (failure != ERROR_FILE_EXISTS && failure != ERROR_ALREADY_EXISTS) {
      error = windows::ErrnoOf(failure);
      return Handle();
    }
  }
  error = EEXIST;
  return Handle();
}

// Keeps the old file's bytes as the backup, whatever its size: a second
// name for the same file, put in place by a durable move. Where the file
// system has no second names (FAT), the old file itself becomes the
// backup, moments before the new file takes its place. 0, or the errno.
int KeepBackup(const std::string& path) {
  const std::wstring backup = Wide(path + kBackupSuffix);
  const std::wstring old = Wide(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring name = Wide(TemporaryName(path));
    if (CreateHardLinkW(name.c_str(), old.c_str(), nullptr)) {
      if (MoveDurably(name, backup)) return 0;
      const int error = windows::LastErrno();
      DeleteFileW(name.c_str());
      return error;
    }
    const DWORD failure = GetLastError();
    if (failure != ERROR_ALREADY_EXISTS && failure != ERROR_FILE_EXISTS) break;
  }
  return MoveDurably(old, backup) ? 0 : windows::LastErrno();
}

}  // namespace

WriteResult ReplaceFile(const std::string& path, std::string_view bytes,
                        const ReplaceOptions& options) {
  // A folder or device at the name is never replaced; a link is replaced
  // itself, never written through. Windows keeps no permission bits, so
  // options.mode has nothing to set.
  if (IsWindowsDeviceName(path)) return {WriteResult::Step::kWrite, kNotPlainFile};
  const std::wstring target = Wide(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return {WriteResult::Step::kWrite, kNotPlainFile};
  }
  std::string temp;
  int error = 0;
  Handle h = CreateTemporary(path, temp, error);
  if (!h.Ok()) return {WriteResult::Step::kWrite, error};
  const auto failed = [&temp](WriteResult::Step step, int error) {
    DeleteFileW(Wide(temp).c_str());
    return WriteResult{step, error};
  };
  error = WriteAllAt(h.Get(), 0, bytes);
  if (error == 0 && !FlushFileBuffers(h.Get())) error = windows::LastErrno();
  if (error == 0) error = h.Close();
  if (error != 0) {
    h.Close();
    return failed(WriteResult::Step::kWrite, error);
  }
  if (options.keepOldAsBackup) {
    if (const int backupError = KeepBackup(path)) {
      return failed(WriteResult::Step::kBackup, backupError);
    }
  }
  // Write-through: the move is on the disk when it returns, as the folder
  // sync makes it on Linux; so this step never fails at kFolderSync.
  if (!MoveDurably(Wide(temp), target)) {
    return failed(WriteResult::Step::kWrite, windows::LastErrno());
  }
  return {};
}

WriteResult AppendLines(const std::string& path, std::string_view header, std::string_view lines) {
  const auto failed = [](int error) { return WriteResult{WriteResult::Step::kWrite, error}; };
  if (IsWindowsDeviceName(path)) return failed(kNotPlainFile);
  // Never through a link: the link itself is opened, and refused.
  const std::wstring wide = Wide(path);
  Handle h(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, windows::kShareAll, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!h.Ok()) return failed(windows::OpenFailure(wide, GetLastError()));
  switch (windows::KindOf(h.Get())) {
    case Kind::kPlainFile:
      break;
    case Kind::kLink:
      return failed(ELOOP);
    case Kind::kFolder:
      return failed(EISDIR);
    case Kind::kOther:
      return failed(kNotPlainFile);
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.Get(), &size)) return failed(windows::LastErrno());
  const uint64_t oldSize = static_cast<uint64_t>(size.QuadPart);
  char lastByte = '\n';
  if (oldSize > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(oldSize - 1);
    at.OffsetHigh = static_cast<DWORD>((oldSize - 1) >> 32);
    DWORD got = 0;
    if (!ReadFile(h.Get(), &lastByte, 1, &got, &at) || got != 1) lastByte = '\n';
  }
  const std::string bytes = AppendedBytes(oldSize, lastByte, header, lines);
  int error = WriteAllAt(h.Get(), oldSize, bytes);
  if (error == 0 && !FlushFileBuffers(h.Get())) error = windows::LastErrno();
  if (error != 0) {
    // Leave no part of this append.
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(oldSize);
    if (SetFileInformationByHandle(h.Get(), FileEndOfFileInfo, &end, sizeof end)) {
      FlushFileBuffers(h.Get());
    }
    return failed(error);
  }
  if (const int closeError = h.Close()) return failed(closeError);
  return {};
}

int CheckCanCreate(const std::string& myPath) {
  std::string temp;
  int error = 0;
  Handle h = CreateTemporary(myPath + "rapiko", temp, error);
  if (!h.Ok()) return error;
  h.Close();
  DeleteFileW(Wide(temp).c_str());
  return 0;
}

}  // namespace storage
