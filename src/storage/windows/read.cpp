// Reading on Windows: plain files on disk only, never a device or a pipe; what a path is.
#include "storage/read.h"

#include <filesystem>
#include <fstream>

#include "storage/paths.h"
#include "storage/read_platform.h"
#include "storage/windows/win32.h"

namespace storage {
namespace {

using windows::Handle;
using windows::Kind;
using windows::Wide;

// What the handle of path says of itself, following links; false when it
// cannot be opened (a device is never opened).
bool Describe(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  if (IsWindowsDeviceName(path)) return false;
  // Backup semantics opens folders too; no access is needed to ask.
  Handle h(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES, windows::kShareAll, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return h.Ok() && GetFileType(h.Get()) == FILE_TYPE_DISK &&
         GetFileInformationByHandle(h.Get(), &info);
}

}  // namespace

PlainReader::PlainReader(const std::string& path, FileRead& r) {
  // A device is refused by its name, before it is opened.
  if (IsWindowsDeviceName(path)) {
    r.notPlain = true;
    return;
  }
  Handle h(CreateFileW(Wide(path).c_str(), GENERIC_READ, windows::kShareAll, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.Ok()) {
    const DWORD error = GetLastError();
    // A folder cannot be opened as a file; Linux opens it, and then finds it is not plain.
    r.notPlain = error == ERROR_ACCESS_DENIED && IsFolder(path);
    r.error = r.notPlain ? 0 : windows::ErrnoOf(error);
    return;
  }
  if (windows::KindOf(h.Get()) != Kind::kPlainFile) {
    r.notPlain = true;
    return;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(h.Get(), &info);
  r.opened = true;
  // Windows keeps no permission bits: a read-only file reads as one.
  r.mode = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0644;
  handle_ = reinterpret_cast<intptr_t>(h.Release());
}

PlainReader::~PlainReader() { Handle(reinterpret_cast<HANDLE>(handle_)).Close(); }

long PlainReader::Read(char* buffer, std::size_t want, FileRead& r) {
  DWORD got = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, static_cast<DWORD>(want), &got,
                nullptr)) {
    r.error = windows::LastErrno();
    return -1;
  }
  return static_cast<long>(got);
}

std::unique_ptr<std::istream> OpenStream(const std::string& path) {
  // A path made from UTF-16 is opened by its UTF-16 name.
  auto in = std::make_unique<std::ifstream>(std::filesystem::path(Wide(path)), std::ios::binary);
  if (!*in) return nullptr;
  return in;
}

bool Exists(const std::string& path) {
  // The attributes of a link are its own: a link to nowhere is there too.
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!Describe(path, info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

bool SameName(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(a);
  const std::wstring wb = Wide(b);
  return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                              static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

bool IsPlainFile(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info{};
  return Describe(path, info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info{};
  return Describe(path, info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace storage
