// Reading files: whole with a limit, in pieces whatever the size, and which names are one file.
#include "storage/read.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/script_run.h"

namespace {

namespace fs = std::filesystem;
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
  mkfifo(dir.File("fifo").c_str(), 0644);  // refused at once, as a whole read refuses it
  const storage::FileRead fifo = storage::ReadInPieces(
      dir.File("fifo"), 8, [](std::string_view) { ADD_FAILURE() << "read from a FIFO"; });
  EXPECT_TRUE(fifo.notPlain);
  EXPECT_FALSE(storage::ReadInPieces(dir.File("none"), 8, [](std::string_view) {}).opened);
}

TEST(SameFile, ByTheFileWhenThereByTheNameWhenNot) {
  GameDir dir("");
  dir.Write("a", "x");
  dir.Write("b", "x");
  fs::create_directory(dir.File("sub"));
  fs::create_symlink(dir.File("a"), dir.File("link"));
  const std::string d = dir.Path();
  const struct {
    std::string a, b;
    bool same;
  } cases[] = {
      {d + "/a", d + "/a", true},
      {d + "/a", d + "/sub/../a", true},
      {d + "/link", d + "/a", true},
      {d + "/a", d + "/b", false},
      {d + "/new", d + "/sub/../new", true},  // neither there yet: the same name in one folder
      {d + "/new", d + "/sub/new", false},
      {d + "/new", d + "/a", false},
  };
  for (const auto& c : cases) EXPECT_EQ(storage::SameFile(c.a, c.b), c.same) << c.a << " " << c.b;
}

}  // namespace
