// What decides the per-user folders and the locale on Windows: the system's own records.
#include <shlobj.h>

#include "storage/user_folder.h"
#include "storage/windows/win32.h"

namespace storage {

const char* const kNoUserDirs = "Windows names no folder for application data";
const char* const kPerUserFolderShown = "%APPDATA%\\Rapiko";
const char* const kConfigFolderShown = "%APPDATA%\\Rapiko (a portable copy: its own folder)";

UserDirs UserDirsFromEnvironment() {
  UserDirs dirs;
  PWSTR folder = nullptr;
  // The system's own record of the folder, which %APPDATA% only repeats.
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK) {
    dirs.appData = windows::Narrow(folder);
  }
  CoTaskMemFree(folder);
  return dirs;
}

std::string SystemLocale() {
  // The language Windows shows its own texts in.
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID language = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(language, name, LOCALE_NAME_MAX_LENGTH, 0) > 0) {
    return windows::Narrow(name);
  }
  return "";
}

}  // namespace storage
