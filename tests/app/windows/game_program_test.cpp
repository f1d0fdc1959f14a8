// The Windows program as a player starts it: a folder under a name that is not ASCII on its command
// line, a word file by a Windows path, Ctrl+C ending it as Esc does, bytes out as on Linux.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ranking/ranking_file.h"
#include "support/game_dir.h"
#include "support/windows/game_process.h"

namespace {

namespace fs = std::filesystem;
using testing_support::GameDir;
using testing_support::Process;
using testing_support::U8Path;

// A round without words ends after 120001 ms; with an empty ranking the
// result goes to name entry, where the name is typed.
std::string TypeResult(const std::string& name) {
  return "press 57\ntick 16\ntick 60000 2\ntick 1\ntype " + name + "\ntick 16\nstate\n";
}

// A game folder at folder, in Windows' own separators, with back.bmp.
std::string MakeGameFolder(const GameDir& base, const std::string& name) {
  std::string folder = base.Path() + "\\" + name;
  for (char& c : folder) c = c == '/' ? '\\' : c;
  fs::create_directories(U8Path(folder));
  fs::copy_file(U8Path(base.File("back.bmp")), U8Path(folder + "\\back.bmp"));
  return folder;
}

TEST(GameProgram, TakesAFolderAndAWordFileUnderNamesThatAreNotAscii) {
  GameDir base("");
  const std::string folder = MakeGameFolder(base, "Zo\xC3\xAB\\\xC5\x81ukasz");
  const std::string words = folder + "\\W\xC3\xB6rter.ini";  // Wörter.ini
  std::ofstream(U8Path(words), std::ios::binary) << "CAT\r\n";
  Process game(testing_support::GameProgram(),
               {"--headless", "--script", "-", "--dir", folder, "--words", words});
  ASSERT_TRUE(game.Started());
  game.Send("tick 16\nstate\n");
  std::string out;
  EXPECT_EQ(game.Finish(&out), 0);
  // The run's bytes are Linux's: no CR before a line's end.
  EXPECT_EQ(out.find('\r'), std::string::npos);
  EXPECT_NE(out.find("\"words\":[\"\",\"CAT\","), std::string::npos) << out.substr(0, 2000);
  // Saved at the end, in the ranking of that file, under its own name and its path's ID.
  EXPECT_TRUE(fs::is_regular_file(U8Path(folder + "\\rankings\\W\xC3\xB6rter~" +
                                         ranking::ListId("W\xC3\xB6rter.ini") + ".ini")));
}

// Ctrl+C in the console that started the game (a headless run) ends it as
// Esc does: the name being typed is entered and the ranking saved.
TEST(GameProgram, CtrlCEndsTheGameAsEscDoesWithTheRankingSaved) {
  // A console of this test's own, shared with the game; this test lives through the Ctrl+C.
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE), err = GetStdHandle(STD_ERROR_HANDLE);
  FreeConsole();
  ASSERT_TRUE(AllocConsole());
  SetStdHandle(STD_OUTPUT_HANDLE, out);
  SetStdHandle(STD_ERROR_HANDLE, err);
  SetConsoleCtrlHandler([](DWORD) -> BOOL { return TRUE; }, TRUE);

  GameDir base("");
  const std::string folder = MakeGameFolder(base, "game");
  Process game(testing_support::GameProgram(), {"--headless", "--script", "-", "--dir", folder});
  ASSERT_TRUE(game.Started());
  game.Send(TypeResult("ann"));
  ASSERT_TRUE(game.ReadLine()) << "no state";
  ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
  // The first pass after Ctrl+C is noted ends the game, however late that comes: without it
  // the passes would go on as long as they are sent.
  try {
    do game.Send("tick 16\nstate\n");
    while (game.ReadLine());
  } catch (const std::runtime_error&) {  // the game ended while they were sent
  }
  EXPECT_EQ(game.Finish(), 0);
  const std::string ranking = testing_support::ReadFileBytes(folder + "\\rapikosc.ini");
  EXPECT_EQ(ranking.rfind("\"ANN\"\r\n", 0), 0u) << ranking;
}

}  // namespace
