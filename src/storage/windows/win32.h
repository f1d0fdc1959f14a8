// What the Windows side of storage shares: UTF-16 paths, errors as errno values, handles.
#pragma once

#include <windows.h>
// windows.h names a function of its own ReplaceFile, through a macro that
// would rename storage::ReplaceFile.
#undef ReplaceFile

#include <string>
#include <string_view>

namespace storage::windows {

// UTF-8 to UTF-16 and back, for every path and text that meets Windows.
// Bytes that are not UTF-8 (and lone UTF-16 halves) become U+FFFD.
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A Windows error as the errno value whose words (ErrorText) say the same,
// so that messages read as they do on Linux.
int ErrnoOf(DWORD error);
inline int LastErrno() { return ErrnoOf(GetLastError()); }

// Every open shares reading, writing and renaming with other programs, as
// files on Linux do, so that a game holding a file open never stops
// another game from replacing it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// An open file handle that closes itself.
class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~Handle() { Close(); }
  Handle(Handle&& other) noexcept : h_(other.Release()) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  HANDLE Release() {
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h;
  }
  // 0, or the errno of a failed close.
  int Close() {
    const bool closed = h_ == INVALID_HANDLE_VALUE || CloseHandle(Release());
    return closed ? 0 : LastErrno();
  }

 private:
  HANDLE h_;
};

// What an open handle is.
enum class Kind { kPlainFile, kLink, kFolder, kOther };
Kind KindOf(HANDLE h);

// The errno of a failed open for writing at path: a link (a reparse point)
// says ELOOP and a folder EISDIR, as O_NOFOLLOW opens on Linux say.
int OpenFailure(const std::wstring& path, DWORD error);

}  // namespace storage::windows
