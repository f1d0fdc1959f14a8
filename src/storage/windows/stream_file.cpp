// A file written as the game goes, on Windows: each write goes to the system at once.
#include "storage/stream_file.h"

#include <algorithm>
#include <cerrno>

#include "storage/errors.h"
#include "storage/paths.h"
#include "storage/windows/win32.h"

namespace storage {
namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

StreamFile::~StreamFile() { Close(); }

int StreamFile::Open(const std::string& path) {
  Close();
  if (IsWindowsDeviceName(path)) return kNotPlainFile;
  // A plain file at the name is replaced, never written into: its other
  // names (a hard link to a ranking, say) keep their bytes. Made anew and
  // exclusively; a link is opened itself, and refused.
  const std::wstring wide = windows::Wide(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    {
      windows::Handle old(CreateFileW(wide.c_str(), 0, windows::kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                      nullptr));
      if (old.Ok()) {
        switch (windows::KindOf(old.Get())) {
          case windows::Kind::kPlainFile:
            break;
          case windows::Kind::kLink:
            return ELOOP;
          case windows::Kind::kFolder:
            return EISDIR;
          case windows::Kind::kOther:
            return kNotPlainFile;
        }
        old.Close();
        if (!DeleteFileW(wide.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
          return windows::LastErrno();
        }
      }
    }
    windows::Handle h(CreateFileW(wide.c_str(), GENERIC_WRITE, windows::kShareAll, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
    if (h.Ok()) {
      handle_ = reinterpret_cast<intptr_t>(h.Release());
      return 0;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return windows::OpenFailure(wide, error);
    }
  }
  return EEXIST;
}

int StreamFile::WriteAt(uint64_t offset, std::string_view bytes) {
  if (handle_ == -1) return EBADF;
  while (!bytes.empty()) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(AsHandle(handle_), bytes.data(), want, &written, &at)) {
      return windows::LastErrno();
    }
    if (written == 0) return ENOSPC;
    bytes.remove_prefix(written);
    offset += written;
  }
  return 0;
}

int StreamFile::Close() {
  if (handle_ == -1) return 0;
  const int result = CloseHandle(AsHandle(handle_)) ? 0 : windows::LastErrno();
  handle_ = -1;
  return result;
}

}  // namespace storage
