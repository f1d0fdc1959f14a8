// Paths: separators, a path's folder and name, joining, the normal form, the folders on the way and
// Windows device names, on each system (the cases: paths.txt).
#include "storage/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/case_file.h"

namespace {

using storage::PathRules;

// What function gives for path with rules, as paths.txt writes it.
std::string Apply(const std::string& function, const std::string& path, const PathRules& rules) {
  const auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
  if (function == "folder") return storage::FolderOf(path, rules);
  if (function == "name") return storage::NameOf(path, rules);
  if (function == "folder-path") return storage::FolderPath(path, rules);
  if (function == "folder-name") return storage::FolderName(path, rules);
  if (function == "bare") return yes(storage::IsBareName(path, rules));
  if (function == "normal") return storage::NormalPath(path, rules);
  if (function == "device") return yes(storage::IsWindowsDeviceName(path));
  std::string folders;
  for (const std::string& folder : storage::FoldersOnTheWay(path, rules))
    folders += (folders.empty() ? "" : " | ") + folder;
  return folders;
}

TEST(Paths, EachCaseOnEachSystem) {
  const auto rows = testing_support::CaseRows("storage/paths.txt");
  EXPECT_GT(rows.size(), 90u);
  for (const std::vector<std::string>& f : rows) {  // function, path, POSIX, Windows
    ASSERT_EQ(f.size(), 4u) << f[0];
    for (int system = 0; system < 2; ++system) {
      const PathRules& rules = system == 0 ? storage::kPosixPaths : storage::kWindowsPaths;
      SCOPED_TRACE(f[0] + " " + f[1] + (system == 0 ? " (POSIX)" : " (Windows)"));
      const std::string expected = f[2 + size_t(system)];
      EXPECT_EQ(Apply(f[0], f[1], rules), expected);
      if (f[0] != "folder-path") continue;
      const std::string& p = f[1];
      EXPECT_EQ(storage::FolderName(expected, rules),
                p.ends_with('/') ? p.substr(0, p.size() - 1) : p);
      EXPECT_EQ(storage::JoinPath(p, "n", rules), expected + "n");
    }
  }
  // The game's own rules are its system's.
  EXPECT_EQ(storage::NameOf("a\\b"), storage::kDriveLetters ? "b" : "a\\b");
}

// The normal form is std::filesystem's on POSIX systems, on every path of up to six parts made of
// names, ".", ".." and separators.
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

}  // namespace
