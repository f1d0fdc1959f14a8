// The running program on Windows: the command line and the module's name, both in UTF-16.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "storage/paths.h"
#include "storage/program.h"
#include "storage/windows/win32.h"

namespace storage {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  }
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(windows::Narrow(wide[i]));
  LocalFree(wide);
  return args;
}

std::string AbsolutePath(const std::string& path) {
  const std::wstring wide = windows::Wide(path);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return NormalPath(windows::Narrow(full));
}

std::string ProgramFolder(const std::string& argv0) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return FolderOf(argv0);
    if (length < name.size()) {
      name.resize(length);
      return FolderOf(windows::Narrow(name));
    }
    name.resize(name.size() * 2);  // cut short: a longer name
  }
}

}  // namespace storage
