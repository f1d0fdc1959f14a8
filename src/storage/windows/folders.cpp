// Folders of the game on Windows: listing, making, removing files.
#include "storage/folders.h"

#include <algorithm>
#include <cerrno>

#include "storage/paths.h"
#include "storage/windows/win32.h"

namespace storage {

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  const std::string pattern = (folder.empty() ? std::string(".") : FolderPath(folder)) + "*";
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileExW(windows::Wide(pattern).c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = windows::Narrow(found.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

int MakeFolder(const std::string& folder) {
  for (const std::string& part : FoldersOnTheWay(folder)) {
    if (!CreateDirectoryW(windows::Wide(part).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      return windows::LastErrno();
    }
  }
  if (GetFileAttributesW(windows::Wide(folder).c_str()) == INVALID_FILE_ATTRIBUTES) {
    return windows::LastErrno();
  }
  return IsOwnFolder(folder) ? 0 : ENOTDIR;
}

bool IsOwnFolder(const std::string& folder) {
  const DWORD attributes = GetFileAttributesW(windows::Wide(FolderName(folder)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool RemoveFile(const std::string& path) { return DeleteFileW(windows::Wide(path).c_str()); }

}  // namespace storage
