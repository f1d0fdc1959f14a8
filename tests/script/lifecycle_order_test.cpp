// The order of the platform calls of start-up and shutdown, in-process.
#include <gtest/gtest.h>

#include <algorithm>
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
  const std::vector<std::string> expected = {
      "Root.CreateDisplay",
      "Display.SetCooperativeLevel(17)",
      "Display.SetDisplayMode(640,480,8)",
      "Display.CreatePrimarySurface(1)",
      "Surface.GetAttachedSurface",
      "Display.LoadPaletteFromFile(back.bmp)",
      "Surface.SetPalette",
      "Display.CreateSurfaceFromFile(back.bmp,640,480)",
      "Display.CreateSurfaceFromResource(ABC,346,262)",
      "Surface.SetColorKey(128)",
      "Root.CreateSoundDevice",
      "SoundDevice.SetCooperativeLevel(2)",
      "SoundDevice.CreateSoundBuffer(WAVKYAN)",
      "SoundDevice.CreateSoundBuffer(WAVSHOT)",
      "SoundDevice.CreateSoundBuffer(WAVHIT)",
      "SoundDevice.CreateSoundBuffer(WAVFUEEN)",
      "SoundDevice.CreateSoundBuffer(WAVTYPE)",
      "SoundDevice.CreateSoundBuffer(WAVEND)",
      "SoundDevice.CreateSoundBuffer(WAVSTART)",
      "Root.CreateInput",
      "Input.CreateKeyboardDevice",
      "Keyboard.SetDataFormat",
      "Keyboard.SetCooperativeLevel(10)",
      "Keyboard.SetBufferSize(64)",
      "Keyboard.Acquire",
      // Shutdown, after the ranking file.
      "Display.RestoreDisplayMode",
      "Display.SetCooperativeLevel(8)",
  };
  ASSERT_GE(log.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(log[i], expected[i]) << i;
  // Then the objects go: the flip chain, the sounds in their order, the
  // keyboard unacquired before the input objects go, the root last of the
  // devices.
  std::vector<std::string> rest(log.begin() + static_cast<long>(expected.size()), log.end());
  auto at = [&](const std::string& call) {
    auto it = std::find(rest.begin(), rest.end(), call);
    EXPECT_NE(it, rest.end()) << call;
    return it - rest.begin();
  };
  EXPECT_LT(at("Release.Surface(primary)"), at("Release.SoundBuffer(WAVKYAN)"));
  EXPECT_LT(at("Release.SoundBuffer(WAVKYAN)"), at("Release.SoundBuffer(WAVSHOT)"));
  EXPECT_LT(at("Release.SoundBuffer(WAVSHOT)"), at("Release.SoundBuffer(WAVHIT)"));
  EXPECT_LT(at("Release.SoundBuffer(WAVHIT)"), at("Release.SoundBuffer(WAVFUEEN)"));
  EXPECT_LT(at("Release.SoundBuffer(WAVFUEEN)"), at("Release.SoundBuffer(WAVSTART)"));
  EXPECT_LT(at("Release.SoundBuffer(WAVSTART)"), at("Release.SoundBuffer(WAVEND)"));
  EXPECT_LT(at("Release.SoundBuffer(WAVEND)"), at("Release.SoundBuffer(WAVTYPE)"));
  EXPECT_LT(at("Release.SoundBuffer(WAVTYPE)"), at("Release.SoundDevice"));
  EXPECT_LT(at("Release.SoundDevice"), at("Keyboard.Unacquire"));
  EXPECT_LT(at("Keyboard.Unacquire"), at("Release.Input"));
  EXPECT_LT(at("Release.Input"), at("Release.Keyboard"));
  EXPECT_LT(at("Release.Keyboard"), at("Release.Root"));
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
