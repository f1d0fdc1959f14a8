// The order of the platform calls of start-up and shutdown, in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

#include "game/lifecycle.h"
#include "script/scripted_system.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;

std::vector<std::string> RunAndLog(const std::string& script, const GameDir& dir) {
  std::istringstream in(script);
  std::ostringstream out;
  script::ScriptReader reader(in);
  script::ScriptedSystem system(reader, out);
  system.ReadPrologue();
  {
    state::GameState g;
    system.SetGame(&g);
    const std::string myPath = game::MyPath(dir.Path());
    const game::ReportLine report = [](const std::string& line) { ADD_FAILURE() << line; };
    game::StartUp(g, system, myPath);
    game::RunMainLoop(g, system, myPath, report);
    game::ShutDown(g, system, myPath);
    // What is left goes with the window.
  }
  return system.Platform().CallLog();
}

TEST(Lifecycle, StartUpAndShutdownCallThePlatformInOrder) {
  GameDir dir;
  const std::vector<std::string> log = RunAndLog("tick 16\nclick\ntick 16\n", dir);
  // Before the bar, the first calls exactly: start-up, then shutdown after the ranking file.
  // After it, releases in this order among the rest: the flip chain, the sounds in their order,
  // the keyboard unacquired before the input objects go, the root last of the devices.
  const std::string calls =
      "Root.CreateDisplay Display.SetCooperativeLevel(17) Display.SetDisplayMode(640,480,8) "
      "Display.CreatePrimarySurface(1) Surface.GetAttachedSurface "
      "Display.LoadPaletteFromFile(back.bmp) Surface.SetPalette "
      "Display.CreateSurfaceFromFile(back.bmp,640,480) "
      "Display.CreateSurfaceFromResource(ABC,346,262) Surface.SetColorKey(128) "
      "Root.CreateSoundDevice SoundDevice.SetCooperativeLevel(2) "
      "SoundDevice.CreateSoundBuffer(WAVKYAN) SoundDevice.CreateSoundBuffer(WAVSHOT) "
      "SoundDevice.CreateSoundBuffer(WAVHIT) SoundDevice.CreateSoundBuffer(WAVFUEEN) "
      "SoundDevice.CreateSoundBuffer(WAVTYPE) SoundDevice.CreateSoundBuffer(WAVEND) "
      "SoundDevice.CreateSoundBuffer(WAVSTART) Root.CreateInput Input.CreateKeyboardDevice "
      "Keyboard.SetDataFormat Keyboard.SetCooperativeLevel(10) Keyboard.SetBufferSize(64) "
      "Keyboard.Acquire Display.RestoreDisplayMode Display.SetCooperativeLevel(8) | "
      "Release.Surface(primary) Release.SoundBuffer(WAVKYAN) Release.SoundBuffer(WAVSHOT) "
      "Release.SoundBuffer(WAVHIT) Release.SoundBuffer(WAVFUEEN) Release.SoundBuffer(WAVSTART) "
      "Release.SoundBuffer(WAVEND) Release.SoundBuffer(WAVTYPE) Release.SoundDevice "
      "Keyboard.Unacquire Release.Input Release.Keyboard Release.Root";
  const auto split = [](const std::string& text) {
    std::istringstream in(text);
    return std::vector<std::string>(std::istream_iterator<std::string>(in), {});
  };
  const std::vector<std::string> startUp = split(calls.substr(0, calls.find('|')));
  ASSERT_GE(log.size(), startUp.size());
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + long(startUp.size())), startUp);
  auto from = log.begin() + long(startUp.size());
  for (const std::string& call : split(calls.substr(calls.find('|') + 1))) {
    from = std::find(from, log.end(), call);
    ASSERT_NE(from, log.end()) << call << ": missing, or before the release above it";
  }
  EXPECT_TRUE(dir.Exists("rapikosc.ini"));
}

TEST(Lifecycle, NothingAfterTheFailedStep) {
  GameDir dir;
  dir.Remove("back.bmp");
  std::istringstream in("");
  std::ostringstream out;
  script::ScriptReader reader(in);
  script::ScriptedSystem system(reader, out);
  state::GameState g;
  EXPECT_THROW(game::StartUp(g, system, game::MyPath(dir.Path())), media::PlatformError);
  const auto& log = system.Platform().CallLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Display.LoadPaletteFromFile(back.bmp)");
  EXPECT_EQ(std::count(log.begin(), log.end(), "Root.CreateSoundDevice"), 0);
}

}  // namespace
