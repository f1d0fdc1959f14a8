// Reading files: whole with a limit, in pieces whatever the size, what a path is, which names are
// one file.
#include "storage/read.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "storage/paths.h"
#include "support/game_dir.h"

namespace {

using testing_support::GameDir;

TEST(ReadInPieces, GivesTheWholeFileInOrderWhateverItsSize) {
  GameDir dir("");
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{8},
                                 std::size_t{9}, std::size_t{100}}) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>('a' + i % 26);
    dir.Write("f", bytes);
    std::string got;
    int pieces = 0;
    const storage::FileRead r = storage::ReadInPieces(dir.File("f"), 8, [&](std::string_view p) {
      EXPECT_LE(p.size(), 8u);
      got += p;
      ++pieces;
    });
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(got, bytes);
    EXPECT_EQ(pieces, static_cast<int>((size + 7) / 8));
  }
  // Refused at once, as a whole read refuses it.
  const storage::FileRead special = storage::ReadInPieces(
      dir.SpecialFile(), 8, [](std::string_view) { ADD_FAILURE() << "read from a special file"; });
  EXPECT_TRUE(special.notPlain);
  EXPECT_FALSE(storage::ReadInPieces(dir.File("none"), 8, [](std::string_view) {}).opened);
}

TEST(ReadWholeFile, PlainFilesOnlyUpToTheLimit) {
  GameDir dir("");
  dir.Write("f", "12345");
  dir.Folder("sub");
  const struct {
    std::string path;
    std::size_t limit;
    bool complete, notPlain, tooLarge;
    std::string bytes, problem;
  } cases[] = {
      {dir.File("f"), 5, true, false, false, "12345", ""},
      {dir.File("f"), 4, false, false, true, "1234", "larger than 4 bytes"},
      {dir.File("none"), 5, false, false, false, "", "No such file or directory"},
      {dir.File("sub"), 5, false, true, false, "", "not a plain file"},
      {dir.SpecialFile(), 5, false, true, false, "", "not a plain file"},
  };
  for (const auto& c : cases) {
    const storage::FileRead r = storage::ReadWholeFile(c.path, c.limit);
    EXPECT_EQ(r.complete, c.complete) << c.path;
    EXPECT_EQ(r.notPlain, c.notPlain) << c.path;
    EXPECT_EQ(r.tooLarge, c.tooLarge) << c.path;
    EXPECT_EQ(r.bytes, c.bytes) << c.path;
    EXPECT_EQ(r.Problem(c.limit), c.problem) << c.path;
  }
}

TEST(WhatIsThere, PlainFilesFoldersAndNothing) {
  GameDir dir("");
  dir.Write("f", "x");
  const std::string folder = dir.Folder("sub");
  const struct {
    std::string path;
    bool exists, plain, isFolder;
  } cases[] = {{dir.File("f"), true, true, false},
               {folder, true, false, true},
               {dir.File("none"), false, false, false},
               {dir.File("none/f"), false, false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(storage::Exists(c.path), c.exists) << c.path;
    EXPECT_EQ(storage::IsPlainFile(c.path), c.plain) << c.path;
    EXPECT_EQ(storage::IsFolder(c.path), c.isFolder) << c.path;
  }
  EXPECT_FALSE(storage::IsPlainFile(dir.SpecialFile()));
}

TEST(SameFile, ByTheFileWhenThereByTheNameWhenNot) {
  GameDir dir("");
  dir.Write("a", "x");
  dir.Write("b", "x");
  dir.Folder("sub");
  const std::string d = dir.Path();
  const struct {
    std::string a, b;
    bool same;
  } cases[] = {
      {d + "/a", d + "/a", true},
      {d + "/a", d + "/sub/../a", true},
      {d + "/a", d + "/b", false},
      {d + "/new", d + "/sub/../new", true},  // neither there yet: the same name in one folder
      {d + "/new", d + "/sub/new", false},
      {d + "/new", d + "/a", false},
      {d + "/none/new", d + "/none/new", false},  // a folder that is not there holds nothing
      {d + "/New", d + "/sub/../new", storage::kDriveLetters},  // Windows names ignore case
  };
  for (const auto& c : cases) EXPECT_EQ(storage::SameFile(c.a, c.b), c.same) << c.a << " " << c.b;
}

TEST(SameFile, ALinkToAFileIsThatFile) {
  GameDir dir("");
  dir.Write("a", "x");
  if (!testing_support::MakeLink(dir.File("a"), dir.File("link"))) {
    GTEST_SKIP() << "this system makes no symbolic links";
  }
  EXPECT_TRUE(storage::SameFile(dir.File("link"), dir.File("a")));
  EXPECT_TRUE(storage::Exists(dir.File("link")));
}

}  // namespace
