// The order of the platform calls of start-up and shutdown, in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "media/forwarding.h"
#include "support/in_process.h"

namespace {

using testing_support::GameDir;
using testing_support::PlayInProcess;

TEST(Lifecycle, StartUpAndShutdownCallThePlatformInOrder) {
  GameDir dir;
  const std::vector<std::string> log = PlayInProcess(dir, "tick 16\nclick\ntick 16\n");
  // The calls in order, and the releases in order among the rest (lifecycle_calls.txt).
  std::ifstream file(RAPIKO_SOURCE_DIR "/tests/game/lifecycle_calls.txt");
  std::vector<std::string> first, releases;
  for (std::string call; std::getline(file, call);) {
    if (call == "|") first.swap(releases);  // what came before the bar, in first
    if (call != "|" && call[0] != '#') releases.push_back(call);
  }
  ASSERT_FALSE(first.empty());
  ASSERT_GE(log.size(), first.size());
  EXPECT_EQ(std::vector(log.begin(), log.begin() + std::ssize(first)), first);
  auto from = log.begin() + std::ssize(first);
  for (const std::string& call : releases) {
    from = std::find(from, log.end(), call);
    ASSERT_NE(from, log.end()) << call << ": missing, or too early";
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
