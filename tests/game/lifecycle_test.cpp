// The order of the platform calls of start-up and shutdown, in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>

#include "media/forwarding.h"
#include "support/in_process.h"

namespace {

using testing_support::GameDir;
using testing_support::PlayInProcess;

TEST(Lifecycle, StartUpAndShutdownCallThePlatformInOrder) {
  GameDir dir;
  const std::vector<std::string> log = PlayInProcess(dir, "tick 16\nclick\ntick 16\n");
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
  std::string got;
  for (const std::string& call : log) got += call + " ";
  const size_t bar = calls.find("| ");
  EXPECT_EQ(got.substr(0, bar), calls.substr(0, bar));
  std::istringstream releases(calls.substr(bar + 2));
  for (std::string call, from = got.substr(bar); releases >> call;) {
    ASSERT_NE(from.find(call + " "), std::string::npos) << call << ": missing, or too early";
    from = from.substr(from.find(call + " "));
  }
  EXPECT_TRUE(dir.Exists("rapikosc.ini"));
}

TEST(Lifecycle, NothingAfterTheFailedStep) {
  GameDir dir;
  dir.Remove("back.bmp");
  const std::vector<std::string> log = PlayInProcess(dir, "");
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.back(), "PlatformError");
  EXPECT_EQ(log[log.size() - 2], "Display.LoadPaletteFromFile(back.bmp)");
  EXPECT_EQ(std::count(log.begin(), log.end(), "Root.CreateSoundDevice"), 0);
}

// Sends one window message after the messages of a chosen pass.
class WindowMessage : public media::ForwardingSystem {
 public:
  WindowMessage(media::System& inner, int atPass, void (*send)(media::WindowEvents&))
      : ForwardingSystem(inner), atPass_(atPass), send_(send) {}
  void DispatchMessages(media::WindowEvents& events) override {
    inner_.DispatchMessages(events);
    if (++passes == atPass_) send_(events);
  }
  int passes = 0;

 private:
  int atPass_;
  void (*send_)(media::WindowEvents&);
};

// Closing the window, or a click in it, ends the game after that pass.
TEST(Lifecycle, ClosingTheWindowOrAClickEndsTheGame) {
  for (auto* send : {+[](media::WindowEvents& e) { e.OnCloseRequest(); },
                     +[](media::WindowEvents& e) { e.OnMouseDown(); }}) {
    GameDir dir;
    std::string text;
    for (int i = 0; i < 10; ++i) text += "tick 16\n";
    state::GameState g;
    std::optional<WindowMessage> window;
    testing_support::PlayMainLoop(dir, text, g, {}, [&](media::System& scripted) -> media::System& {
      return window.emplace(scripted, 3, send);
    });
    EXPECT_TRUE(g.quitRequested);
    EXPECT_EQ(window->passes, 3);
  }
}

}  // namespace
