// Reading files: whole with a limit, in pieces whatever the size, what a path is, which names are
// one file.
#include "storage/read.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

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

// Plain files only, up to the limit; what is at a path.
TEST(ReadWholeFile, PlainFilesOnlyUpToTheLimit) {
  GameDir dir("");
  dir.Write("f", "12345");
  dir.Folder("sub");
  const struct {
    std::string path;
    std::size_t limit;
    bool complete, notPlain, tooLarge;
    std::string bytes, problem;
    bool exists, plain, folder;
  } cases[] = {
      {dir.File("f"), 5, true, false, false, "12345", "", true, true, false},
      {dir.File("f"), 4, false, false, true, "1234", "larger than 4 bytes", true, true, false},
      {dir.File("none"), 5, false, false, false, "", "No such file or directory", false, false,
       false},
      {dir.File("none/f"), 5, false, false, false, "", "No such file or directory", false, false,
       false},
      {dir.File("sub"), 5, false, true, false, "", "not a plain file", true, false, true},
  };
  for (const auto& c : cases) {
    const storage::FileRead r = storage::ReadWholeFile(c.path, c.limit);
    EXPECT_EQ(std::tuple(r.complete, r.notPlain, r.tooLarge, r.bytes, r.Problem(c.limit)),
              std::tuple(c.complete, c.notPlain, c.tooLarge, c.bytes, c.problem))
        << c.path;
    EXPECT_EQ(std::tuple(storage::Exists(c.path), storage::IsPlainFile(c.path),
                         storage::IsFolder(c.path)),
              std::tuple(c.exists, c.plain, c.folder))
        << c.path;
  }
  const storage::FileRead special = storage::ReadWholeFile(dir.SpecialFile(), 5);
  EXPECT_EQ(std::pair(special.notPlain, special.Problem(5)),
            std::pair(true, std::string("not a plain file")));
  EXPECT_FALSE(storage::IsPlainFile(dir.SpecialFile()));
}

// A link to a file is that file (where the system makes links).
TEST(SameFile, ByTheFileWhenThereByTheNameWhenNot) {
  GameDir dir("");
  dir.Write("a", "x");
  dir.Write("b", "x");
  dir.Folder("sub");
  const std::string d = dir.Path();
  const bool linked = testing_support::MakeLink(dir.File("a"), dir.File("link"));
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
      {d + "/link", d + "/a", linked},
  };
  for (const auto& c : cases) EXPECT_EQ(storage::SameFile(c.a, c.b), c.same) << c.a << " " << c.b;
}

}  // namespace
