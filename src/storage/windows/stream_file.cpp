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
  // Emptied only once it is known to be a plain file; a link is opened
  // itself, and refused.
  const std::wstring wide = windows::Wide(path);
  windows::Handle h(CreateFileW(wide.c_str(), GENERIC_WRITE, windows::kShareAll, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                nullptr));
  if (!h.Ok()) return windows::OpenFailure(wide, GetLastError());
  switch (windows::KindOf(h.Get())) {
    case windows::Kind::kPlainFile:
      break;
    case windows::Kind::kLink:
      return ELOOP;
    case windows::Kind::kFolder:
      return EISDIR;
    case windows::Kind::kOther:
      return kNotPlainFile;
  }
  FILE_END_OF_FILE_INFO empty{};
  if (!SetFileInformationByHandle(h.Get(), FileEndOfFileInfo, &empty, sizeof empty)) {
    return windows::LastErrno();
  }
  handle_ = reinterpret_cast<intptr_t>(h.Release());
  return 0;
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
