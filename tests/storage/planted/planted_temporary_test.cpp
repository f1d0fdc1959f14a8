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

// The save with or without a backup, and the writability check, each with a file or a link at
// the first name drawn: the file stays as it is, the link leads nowhere new.
TEST(PlantedTemporary, AFileOrALinkAtTheNameIsLeftAsItIs) {
  for (const std::string planted : {"file", "link", "file, backup", "file, check"}) {
    GameDir dir("");
    dir.Write("f", "old\n");
    const std::string name =
        planted.ends_with("check") ? "rapiko.tmp-AAAAAAAAAAAA" : "f.tmp-AAAAAAAAAAAA";
    if (planted == "link" && !testing_support::MakeLink(dir.File("outside"), dir.File(name)))
      continue;  // this system makes no symbolic links
    if (planted != "link") dir.Write(name, "planted\n");
    storage::drawn = 0;
    if (planted.ends_with("check")) {
      EXPECT_EQ(storage::CheckCanCreate(dir.Path() + "/"), 0);
      EXPECT_FALSE(dir.Exists("rapiko.tmp-BBBBBBBBBBBB"));
    } else {
      const bool backup = planted.ends_with("backup");
      EXPECT_TRUE(storage::ReplaceFile(dir.File("f"), "new\n", {.keepOldAsBackup = backup}).Ok());
      EXPECT_EQ(dir.Read("f"), "new\n");
      EXPECT_EQ(dir.Read("f.bak"), backup ? "old\n" : "");
    }
    EXPECT_EQ(dir.Read(name), planted == "link" ? "" : "planted\n");
    EXPECT_FALSE(dir.Exists("outside"));
    EXPECT_GE(storage::drawn, 2) << planted << ": the planted name was not drawn first";
  }
}

}  // namespace
