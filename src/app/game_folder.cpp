// Choosing the game folder, and creating and seeding the per-user one on first start.
#include "app/game_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace app {
namespace {

namespace fs = std::filesystem;

// The files a new per-user folder starts with; the ranking is made by the game.
constexpr const char* kSeedFiles[] = {"back.bmp", "rapdata.ini"};

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Copies through a temporary name, so that a copy cut short never leaves a
// damaged file that would be kept from then on.
bool CopyWhole(const fs::path& from, const fs::path& to, std::string& error) {
  const fs::path part = to.string() + ".part";
  std::error_code ec;
  fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(part, to, ec);
  if (ec) {
    fs::remove(part, ec);
    error = "cannot copy " + from.string() + " to " + to.string() + ": " + ec.message();
    return false;
  }
  return true;
}

bool Seed(const fs::path& folder, const fs::path& installedData, std::string& error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    error = "cannot create the game folder " + folder.string() + ": " + ec.message();
    return false;
  }
  for (const char* name : kSeedFiles) {
    if (fs::exists(folder / name, ec) || !fs::is_regular_file(installedData / name, ec)) continue;
    if (!CopyWhole(installedData / name, folder / name, error)) return false;
  }
  return true;
}

}  // namespace

UserDirs UserDirsFromEnvironment() { return {Env("XDG_DATA_HOME"), Env("HOME")}; }

std::string PerUserFolder(const UserDirs& dirs) {
  // The XDG rules: a relative XDG_DATA_HOME is invalid and ignored.
  if (!dirs.xdgDataHome.empty() && dirs.xdgDataHome.front() == '/')
    return (fs::path(dirs.xdgDataHome) / "rapiko").string();
  if (!dirs.home.empty()) return (fs::path(dirs.home) / ".local/share/rapiko").string();
  return "";
}

std::optional<std::string> ChooseGameFolder(const std::string& dirOption,
                                            const std::string& programFolder,
                                            const std::string& installedData, const UserDirs& dirs,
                                            std::string& error) {
  if (!dirOption.empty()) return dirOption;
  std::error_code ec;
  if (fs::exists(fs::path(programFolder) / "back.bmp", ec)) return programFolder;
  const std::string folder = PerUserFolder(dirs);
  if (folder.empty()) {
    error = "no game folder: neither XDG_DATA_HOME nor HOME is set; use --dir DIR";
    return std::nullopt;
  }
  if (!Seed(folder, fs::path(installedData).lexically_normal(), error)) return std::nullopt;
  return folder;
}

}  // namespace app
