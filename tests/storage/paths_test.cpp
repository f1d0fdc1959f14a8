// Paths: separators, a path's folder and name, joining and the normal form, on each system.
#include "storage/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

// One path and what each function makes of it, on POSIX systems and on
// Windows (where '\\' separates too and a drive may begin a path).
struct PathCase {
  std::string path;
  std::string folderOf[2];  // POSIX, Windows
  std::string nameOf[2];
  std::string folderPath[2];
  bool bare[2];
};

// Both systems' rules, tested on every build; the game uses its own system's.
constexpr storage::PathRules kRules[2] = {storage::kPosixPaths, storage::kWindowsPaths};

TEST(Paths, FolderNameAndJoinOnEachSystem) {
  const PathCase cases[] = {
      {"/tmp/x/f", {"/tmp/x", "/tmp/x"}, {"f", "f"}, {"/tmp/x/f/", "/tmp/x/f/"}, {false, false}},
      {"/f", {"/", "/"}, {"f", "f"}, {"/f/", "/f/"}, {false, false}},
      {"f", {".", "."}, {"f", "f"}, {"f/", "f/"}, {true, true}},
      {"dir/", {"dir", "dir"}, {"", ""}, {"dir/", "dir/"}, {false, false}},
      {"C:\\Users\\Zo\xC3\xAB",
       {".", "C:\\Users"},
       {"C:\\Users\\Zo\xC3\xAB", "Zo\xC3\xAB"},
       {"C:\\Users\\Zo\xC3\xAB/", "C:\\Users\\Zo\xC3\xAB\\"},
       {true, false}},
      {"C:\\f", {".", "C:\\"}, {"C:\\f", "f"}, {"C:\\f/", "C:\\f\\"}, {true, false}},
      {"C:f", {".", "C:"}, {"C:f", "f"}, {"C:f/", "C:f/"}, {true, false}},
      {"1:f", {".", "."}, {"1:f", "1:f"}, {"1:f/", "1:f/"}, {true, false}},
      {"a\\b/c", {"a\\b", "a\\b"}, {"c", "c"}, {"a\\b/c/", "a\\b/c/"}, {false, false}},
      {"x/a\\b", {"x", "x/a"}, {"a\\b", "b"}, {"x/a\\b/", "x/a\\b\\"}, {false, false}},
  };
  for (int system = 0; system < 2; ++system) {
    const storage::PathRules& rules = kRules[system];
    for (const PathCase& c : cases) {
      SCOPED_TRACE(c.path + (system == 0 ? " (POSIX)" : " (Windows)"));
      EXPECT_EQ(storage::FolderOf(c.path, rules), c.folderOf[system]);
      EXPECT_EQ(storage::NameOf(c.path, rules), c.nameOf[system]);
      EXPECT_EQ(storage::FolderPath(c.path, rules), c.folderPath[system]);
      EXPECT_EQ(storage::FolderName(storage::FolderPath(c.path, rules), rules),
                c.path.ends_with('/') ? c.path.substr(0, c.path.size() - 1) : c.path);
      EXPECT_EQ(storage::JoinPath(c.path, "n", rules), c.folderPath[system] + "n");
      EXPECT_EQ(storage::IsBareName(c.path, rules), c.bare[system]);
    }
    EXPECT_EQ(storage::FolderName("/", rules), "/");
    EXPECT_EQ(storage::IsBareName("rapikosc.ini:x", rules), system == 0);  // a file's stream
  }
  EXPECT_EQ(storage::FolderName("C:\\", storage::kWindowsPaths), "C:\\");
  EXPECT_EQ(storage::FolderName("C:\\x\\", storage::kWindowsPaths), "C:\\x");
  // The game's own rules are its system's.
  EXPECT_EQ(storage::NameOf("a\\b"), storage::kDriveLetters ? "b" : "a\\b");
}

// The normal form is std::filesystem's on POSIX systems, on every path of up
// to six parts made of names, ".", ".." and separators.
TEST(NormalPath, IsTheLexicalNormalForm) {
  if (storage::kDriveLetters) GTEST_SKIP() << "std::filesystem turns separators into '\\' here";
  std::vector<std::string> paths = {""};
  for (int parts = 0; parts < 5; ++parts) {
    std::vector<std::string> longer;
    for (const std::string& p : paths) {
      for (const char* part : {"a", "b", ".", "..", ""}) longer.push_back(p + "/" + part);
      for (const char* part : {"a", ".", ".."}) longer.push_back(p + part);
    }
    paths = std::move(longer);
    for (const std::string& p : paths) {
      ASSERT_EQ(storage::NormalPath(p, storage::kPosixPaths),
                std::filesystem::path(p).lexically_normal().string())
          << p;
    }
  }
}

TEST(NormalPath, KeepsTheSeparatorsAsWrittenAndTheDrive) {
  const struct {
    std::string path, posix, windows;
  } cases[] = {
      {"/usr/bin/../share/rapiko", "/usr/share/rapiko", "/usr/share/rapiko"},
      {"C:\\Rapiko\\.\\data\\..\\words", "C:\\Rapiko\\.\\data\\..\\words", "C:\\Rapiko\\words"},
      {"C:\\Rapiko/../..", "..", "C:\\"},
      {"C:..\\x", "C:..\\x", "C:..\\x"},
      {"\\\\server\\share\\.\\x", "\\\\server\\share\\.\\x", "\\\\server\\share\\x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(storage::NormalPath(c.path, storage::kPosixPaths), c.posix) << c.path;
    EXPECT_EQ(storage::NormalPath(c.path, storage::kWindowsPaths), c.windows) << c.path;
    EXPECT_EQ(storage::NormalPath(c.path), storage::kDriveLetters ? c.windows : c.posix) << c.path;
  }
}

// The folders made on the way to a folder: never the root a drive or a
// share already has, never twice for a doubled or ending separator.
TEST(FoldersOnTheWay, AreEachNamedFolderBelowTheRoot) {
  using V = std::vector<std::string>;
  const struct {
    std::string folder;
    V posix, windows;
  } cases[] = {
      {"", {}, {}},
      {"a", {"a"}, {"a"}},
      {"/a/b", {"/a", "/a/b"}, {"/a", "/a/b"}},
      {"a//b/", {"a", "a//b"}, {"a", "a//b"}},
      {"/", {}, {}},
      {"C:", {"C:"}, {}},
      {"C:\\", {"C:\\"}, {}},
      {"C:\\Rapiko\\data", {"C:\\Rapiko\\data"}, {"C:\\Rapiko", "C:\\Rapiko\\data"}},
      {"C:x\\y", {"C:x\\y"}, {"C:x", "C:x\\y"}},
      {"\\\\server\\share\\Rapiko\\x",
       {"\\\\server\\share\\Rapiko\\x"},
       {"\\\\server\\share\\Rapiko", "\\\\server\\share\\Rapiko\\x"}},
      {"//server/share", {"//server", "//server/share"}, {}},
      {"//server", {"//server"}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(storage::FoldersOnTheWay(c.folder, storage::kPosixPaths), c.posix) << c.folder;
    EXPECT_EQ(storage::FoldersOnTheWay(c.folder, storage::kWindowsPaths), c.windows) << c.folder;
  }
}

// Windows devices by name, in any folder and with any extension; names
// that only look like one are files like any other.
TEST(WindowsDeviceNames, AreTheReservedNamesAndTheDeviceSpace) {
  for (const char* path :
       {"NUL", "d\\nul.txt", "d/CON", "C:aux.ini", "COM1", "d\\lpt9.log", "PRN ", "CONOUT$",
        "conin$.x", "com\xC2\xB9", "LPT\xC2\xB2", "com\xC2\xB3:stream", "COM0", "\\\\.\\pipe\\x",
        "//./COM1", "/\\.\\x", "//./"}) {
    EXPECT_TRUE(storage::IsWindowsDeviceName(path)) << path;
  }
  for (const char* path :
       {"CONSOLE.ini", "COM10", "nul2", "lpt", "xNUL", "rapikosc.ini", "com\xC2\xB4", "COMA",
        "LPT:", "\\\\server\\x", "\\\\.x", "NUL\\x", "//.", " NUL"}) {
    EXPECT_FALSE(storage::IsWindowsDeviceName(path)) << path;
  }
}

}  // namespace
