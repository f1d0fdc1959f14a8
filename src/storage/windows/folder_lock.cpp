// The game folder's lock on Windows: a LockFileEx lock on "rapikosc.ini.lock".
#include "storage/folder_lock.h"

#include <cerrno>

#include "storage/errors.h"
#include "storage/windows/win32.h"

namespace storage {
namespace {

int64_t NowMs() { return static_cast<int64_t>(GetTickCount64()); }

void Pause() { Sleep(10); }

// The whole file, which holds nothing: the lock stands for the folder.
constexpr DWORD kWhole = MAXDWORD;

LockAttempt TryLock(HANDLE h) {
  OVERLAPPED at{};
  if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, kWhole, kWhole, &at)) {
    return {LockTry::kLocked, 0};
  }
  const DWORD error = GetLastError();
  if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
    return {LockTry::kBusy, EAGAIN};
  }
  // Errors that mean the file system keeps no locks at all.
  if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) {
    return {LockTry::kNoLocks, windows::ErrnoOf(error)};
  }
  return {LockTry::kFailed, windows::ErrnoOf(error)};
}

}  // namespace

FolderLock::FolderLock(const std::string& myPath) {
  const std::string path = myPath + kLockFileName;
  // Read access is enough for LockFileEx, so a lock file made by another
  // player serves too. A link at the name is opened itself, and refused.
  const std::wstring wide = windows::Wide(path);
  windows::Handle h(CreateFileW(wide.c_str(), GENERIC_READ, windows::kShareAll, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                nullptr));
  if (!h.Ok()) {
    const int error = windows::OpenFailure(wide, GetLastError());
    if (error == EISDIR) throw LockError("the lock file " + path + " is not a plain file");
    throw LockError("the lock file " + path + " cannot be opened: " + ErrorText(error));
  }
  switch (windows::KindOf(h.Get())) {
    case windows::Kind::kPlainFile:
      break;
    case windows::Kind::kLink:
      throw LockError("the lock file " + path + " cannot be opened: " + ErrorText(ELOOP));
    default:
      throw LockError("the lock file " + path + " is not a plain file");
  }
  const HANDLE file = h.Get();
  const LockAttempt attempt = WaitForLock([file] { return TryLock(file); }, kWaitMs, NowMs, Pause);
  if (attempt.result == LockTry::kLocked) {
    handle_ = reinterpret_cast<intptr_t>(h.Release());
    return;
  }
  if (attempt.result != LockTry::kNoLocks) throw LockError(LockFailure(path, attempt));
}

FolderLock::~FolderLock() {
  if (handle_ == -1) return;
  const HANDLE h = reinterpret_cast<HANDLE>(handle_);
  // Unlocked at once: Windows may take its time over the locks of a closed handle.
  OVERLAPPED at{};
  UnlockFileEx(h, 0, kWhole, kWhole, &at);
  CloseHandle(h);
}

}  // namespace storage
