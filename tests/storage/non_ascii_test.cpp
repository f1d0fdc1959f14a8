// A game folder under names that are not ASCII (a player called Zoë or Łukasz): every operation
// finds it.
#include <gtest/gtest.h>

#include <filesystem>

#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/read.h"
#include "storage/stream_file.h"
#include "storage/write.h"
#include "support/game_dir.h"

namespace {

using testing_support::U8Path;

TEST(NonAsciiFolder, EveryOperationFindsItsFilesUnderTheirOwnNames) {
  testing_support::GameDir base("");
  const std::string folder = base.File("Zo\xC3\xAB/\xC5\x81ukasz");  // Zoë/Łukasz
  const std::string myPath = folder + "/";
  const std::string results = myPath + "r\xC3\xA9sultats.ini";  // résultats.ini
  ASSERT_EQ(storage::MakeFolder(folder), 0);
  EXPECT_TRUE(storage::IsFolder(folder));
  EXPECT_EQ(storage::CheckCanCreate(myPath), 0);
  {
    storage::FolderLock lock(myPath);
    EXPECT_TRUE(lock.Held());
    EXPECT_TRUE(storage::ReplaceFile(results, "first\n").Ok());
    EXPECT_TRUE(storage::ReplaceFile(results, "second\n", {.keepOldAsBackup = true}).Ok());
    EXPECT_TRUE(storage::AppendLines(myPath + "h\xC3\xA9.csv", "head", "1\n").Ok());
  }
  storage::StreamFile recording;
  ASSERT_EQ(recording.Open(myPath + "\xC5\x82.script"), 0);  // ł.script
  EXPECT_EQ(recording.WriteAt(0, "tick 16\n"), 0);
  EXPECT_EQ(recording.Close(), 0);

  EXPECT_EQ(storage::ReadWholeFile(results, 100).bytes, "second\n");
  EXPECT_EQ(storage::ReadWholeFile(results + ".bak", 100).bytes, "first\n");
  EXPECT_EQ(storage::ReadWholeFile(myPath + "h\xC3\xA9.csv", 100).bytes, "head\n1\n");
  EXPECT_TRUE(storage::IsPlainFile(myPath + "\xC5\x82.script"));
  EXPECT_EQ(storage::ListFolder(folder),
            (std::vector<std::string>{"h\xC3\xA9.csv", "rapikosc.ini.lock", "r\xC3\xA9sultats.ini",
                                      "r\xC3\xA9sultats.ini.bak", "\xC5\x82.script"}));
  EXPECT_TRUE(
      storage::SameFile(results, base.File("Zo\xC3\xAB/./\xC5\x81ukasz/r\xC3\xA9sultats.ini")));
  // The names on the disk are the UTF-8 ones, as the system's own tools see them.
  EXPECT_TRUE(std::filesystem::exists(U8Path(results)));
  EXPECT_TRUE(storage::RemoveFile(myPath + "\xC5\x82.script"));
  EXPECT_FALSE(storage::Exists(myPath + "\xC5\x82.script"));
}

}  // namespace
