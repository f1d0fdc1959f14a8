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

constexpr int kThis = storage::kDriveLetters ? 1 : 0;

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
      {"a\\b/c", {"a\\b", "a\\b"}, {"c", "c"}, {"a\\b/c/", "a\\b/c/"}, {false, false}},
      {"x/a\\b", {"x", "x/a"}, {"a\\b", "b"}, {"x/a\\b/", "x/a\\b\\"}, {false, false}},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(storage::FolderOf(c.path), c.folderOf[kThis]) << c.path;
    EXPECT_EQ(storage::NameOf(c.path), c.nameOf[kThis]) << c.path;
    EXPECT_EQ(storage::FolderPath(c.path), c.folderPath[kThis]) << c.path;
    EXPECT_EQ(storage::FolderName(storage::FolderPath(c.path)),
              c.path.ends_with('/') ? c.path.substr(0, c.path.size() - 1) : c.path)
        << c.path;
    EXPECT_EQ(storage::JoinPath(c.path, "n"), c.folderPath[kThis] + "n") << c.path;
    EXPECT_EQ(storage::IsBareName(c.path), c.bare[kThis]) << c.path;
  }
  EXPECT_EQ(storage::FolderName("/"), "/");
  EXPECT_EQ(storage::IsBareName("rapikosc.ini:x"), !storage::kDriveLetters);  // a file's stream
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
      ASSERT_EQ(storage::NormalPath(p), std::filesystem::path(p).lexically_normal().string()) << p;
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
    EXPECT_EQ(storage::NormalPath(c.path), storage::kDriveLetters ? c.windows : c.posix) << c.path;
  }
}

}  // namespace
