// The Windows side of storage: UTF-16 at every call, errors in Linux's words (the cases:
// utf16.txt, errors.txt), devices refused, a lock another program holds, a file another program
// holds open.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/paths.h"
#include "storage/read.h"
#include "storage/stream_file.h"
#include "storage/windows/win32.h"
#include "storage/write.h"
#include "support/case_file.h"
#include "support/game_dir.h"
#include "support/windows/game_process.h"

namespace {

using storage::windows::Narrow;
using storage::windows::Wide;
using testing_support::GameDir;

TEST(Utf16, EveryCharacterBothWaysAndWhatIsNotUtf8MarkedAsSuch) {
  const auto rows = testing_support::CaseRows("storage/windows/utf16.txt");
  EXPECT_GT(rows.size(), 6u);
  for (const std::vector<std::string>& row : rows) {  // which ways, UTF-8, the UTF-16 units
    const std::string utf8 = testing_support::Unescaped(row.at(1));
    std::wstring utf16;
    std::istringstream units(row.at(2));
    for (unsigned unit; units >> std::hex >> unit;) utf16 += static_cast<wchar_t>(unit);
    if (row[0] != "narrow") {
      EXPECT_EQ(Wide(utf8), utf16) << row[1];
    }
    if (row[0] != "wide") {
      EXPECT_EQ(Narrow(utf16), utf8) << row[1];
    }
  }
}

// A Windows error reads as the same error does on Linux (the errors: errors.txt), never in the
// C library's own words for an errno it does not know.
TEST(WindowsErrors, ReadInTheWordsOfLinux) {
  const auto rows = testing_support::CaseRows("storage/windows/errors.txt");
  EXPECT_GT(rows.size(), 20u);
  for (const std::vector<std::string>& row : rows) {  // the name, the number, the words
    const DWORD error = std::stoul(row.at(1));
    EXPECT_EQ(storage::ErrorText(storage::windows::ErrnoOf(error)), row.at(2)) << row[0];
  }
}

// A device is never opened, whatever the operation; names that only look
// like one are files like any other.
TEST(DeviceNames, AreRefusedUnopenedAndTheirLookalikesAreFiles) {
  GameDir dir("");
  // A pipe that would wait for data if a read ever opened it.
  const HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\rapiko-test", PIPE_ACCESS_DUPLEX,
                                       PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  for (const std::string& path :
       {dir.File("NUL"), dir.File("nul.txt"), dir.File("CON"), dir.File("aux.ini"),
        dir.File("COM1"), dir.File("lpt9.log"), dir.File("PRN "), dir.File("CONOUT$"),
        dir.File("com\xC2\xB9"), std::string("\\\\.\\pipe\\rapiko-test"),
        std::string("//./COM1")}) {
    EXPECT_TRUE(storage::IsWindowsDeviceName(path)) << path;
    EXPECT_TRUE(storage::ReadWholeFile(path, 10).notPlain) << path;
    EXPECT_FALSE(storage::IsPlainFile(path)) << path;
    EXPECT_EQ(storage::ReplaceFile(path, "x").error, storage::kNotPlainFile) << path;
    EXPECT_EQ(storage::AppendLines(path, "h", "x\n").error, storage::kNotPlainFile) << path;
    storage::StreamFile stream;
    EXPECT_EQ(stream.Open(path), storage::kNotPlainFile) << path;
  }
  CloseHandle(pipe);
  for (const char* name : {"CONSOLE.ini", "COM10", "nul2", "lpt", "xNUL", "rapikosc.ini"}) {
    EXPECT_FALSE(storage::IsWindowsDeviceName(dir.File(name))) << name;
    EXPECT_TRUE(storage::ReplaceFile(dir.File(name), "x").Ok()) << name;
    EXPECT_EQ(dir.Read(name), "x") << name;
  }
}

// Another program (another game) holding the lock keeps this one waiting until it lets go.
TEST(FolderLock, AnotherProgramHoldingItKeepsTheGameWaiting) {
  GameDir dir("");
  const std::string myPath = dir.Path() + "/";
  testing_support::Process holder(testing_support::HelperProgram("hold_lock"), {myPath});
  ASSERT_TRUE(holder.Started());
  ASSERT_EQ(holder.ReadLine(), "locked");
  std::atomic<bool> waiting = false, released = false, heldAfterRelease = false;
  std::thread game([&] {
    waiting = true;
    const storage::FolderLock lock(myPath);
    heldAfterRelease = lock.Held() && released;
  });
  while (!waiting) std::this_thread::yield();
  released = true;
  EXPECT_EQ(holder.Finish(), 0);
  game.join();
  EXPECT_TRUE(heldAfterRelease);
}

// Another program holding the file open without letting it be replaced (a virus scanner, an
// editor) for longer than the game tries again: the old file stays whole, nothing is left. (That
// the game tries again races the clock of the other program, so it is left untested.)
TEST(ReplaceFile, AFileAnotherProgramHoldsStaysWhole) {
  GameDir dir("");
  dir.Write("f", "old\n");
  const HANDLE holder = CreateFileW(Wide(dir.File("f")).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const storage::WriteResult refused = storage::ReplaceFile(dir.File("f"), "new\n");
  CloseHandle(holder);
  EXPECT_TRUE(refused.error == EBUSY || refused.error == EACCES)
      << storage::ErrorText(refused.error);
  EXPECT_EQ(dir.Read("f"), "old\n");
  EXPECT_EQ(storage::ListFolder(dir.Path()), (std::vector<std::string>{"back.bmp", "f"}));
}

}  // namespace
