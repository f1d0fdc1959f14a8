// A file or a link planted at the name of a temporary is never opened or followed: the write takes
// another name. This program draws its temporaries' names in a known order to plant at them.
#include <gtest/gtest.h>

#include <cstring>

#include "storage/temporary.h"
#include "storage/write.h"
#include "support/game_dir.h"

namespace storage {

// The bytes of the n-th draw are all n, so the names come as AAAAAAAAAAAA,
// BBBBBBBBBBBB, ...: this replaces the system's random bytes in this program.
int drawn = 0;
void RandomBytes(unsigned char* bytes, std::size_t count) { std::memset(bytes, drawn++, count); }

}  // namespace storage

namespace {

using testing_support::GameDir;

constexpr const char* kFirstName = "f.tmp-AAAAAAAAAAAA";

TEST(PlantedTemporary, AFileAtTheNameIsLeftAsItIs) {
  for (const bool backup : {false, true}) {
    GameDir dir("");
    dir.Write("f", "old\n");
    dir.Write(kFirstName, "planted\n");
    storage::drawn = 0;
    EXPECT_TRUE(storage::ReplaceFile(dir.File("f"), "new\n", {.keepOldAsBackup = backup}).Ok());
    EXPECT_EQ(dir.Read("f"), "new\n");
    EXPECT_EQ(dir.Read(kFirstName), "planted\n");
    EXPECT_EQ(dir.Read("f.bak"), backup ? "old\n" : "");
    EXPECT_GE(storage::drawn, 2) << "the planted name was not drawn first";
  }
}

TEST(PlantedTemporary, ALinkAtTheNameIsNeverFollowed) {
  GameDir dir("");
  dir.Write("f", "old\n");
  if (!testing_support::MakeLink(dir.File("outside"), dir.File(kFirstName))) {
    GTEST_SKIP() << "this system makes no symbolic links";
  }
  storage::drawn = 0;
  EXPECT_TRUE(storage::ReplaceFile(dir.File("f"), "new\n").Ok());
  EXPECT_EQ(dir.Read("f"), "new\n");
  EXPECT_FALSE(dir.Exists("outside"));
}

TEST(PlantedTemporary, TheWritabilityCheckLeavesAPlantedFileToo) {
  GameDir dir("");
  dir.Write("rapiko.tmp-AAAAAAAAAAAA", "planted\n");
  storage::drawn = 0;
  EXPECT_EQ(storage::CheckCanCreate(dir.Path() + "/"), 0);
  EXPECT_EQ(dir.Read("rapiko.tmp-AAAAAAAAAAAA"), "planted\n");
  EXPECT_FALSE(dir.Exists("rapiko.tmp-BBBBBBBBBBBB"));
}

}  // namespace
