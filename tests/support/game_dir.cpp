// A scratch game folder for tests, on every system the game builds for.
#include "support/game_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

fs::path U8Path(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string U8String(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool MakeLink(const std::string& target, const std::string& at) {
#ifdef _WIN32
  // Wine answers yes and makes nothing: only a link that is there counts.
  CreateSymbolicLinkW(U8Path(at).c_str(), U8Path(target).c_str(),
                      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  const DWORD attributes = GetFileAttributesW(U8Path(at).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
  std::error_code ec;
  fs::create_symlink(U8Path(target), U8Path(at), ec);
  return !ec;
#endif
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(U8Path(path), std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

GameDir::GameDir(const std::string& words) {
  std::random_device random;
  for (int attempt = 0; path_.empty(); ++attempt) {
    if (attempt == 100) throw std::runtime_error("no scratch folder could be made");
    const fs::path made = fs::temp_directory_path() / ("rapiko-test-" + std::to_string(random()));
    std::error_code ec;
    if (fs::create_directory(made, ec)) path_ = U8String(made);
  }
  // The player's own, as mkdtemp makes it.
  fs::permissions(U8Path(path_), fs::perms::owner_all);
  fs::copy_file(U8Path(std::string(RAPIKO_ASSETS_DIR) + "/back.bmp"), U8Path(File("back.bmp")));
  if (!words.empty()) Write("rapdata.ini", words);
}

GameDir::~GameDir() {
  std::error_code ec;
  fs::permissions(U8Path(path_), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(U8Path(path_), ec);
}

void GameDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(U8Path(File(name)), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string GameDir::Read(const std::string& name) const { return ReadFileBytes(File(name)); }

bool GameDir::Exists(const std::string& name) const {
  std::error_code ec;
  return fs::exists(U8Path(File(name)), ec);
}

void GameDir::Remove(const std::string& name) const {
  std::error_code ec;
  fs::remove(U8Path(File(name)), ec);
}

std::string GameDir::Folder(const std::string& name) const {
  fs::create_directories(U8Path(File(name)));
  return File(name);
}

std::string GameDir::SpecialFile() const {
#ifdef _WIN32
  return File("NUL");
#else
  mkfifo(File("fifo").c_str(), 0644);
  return File("fifo");
#endif
}

}  // namespace testing_support
