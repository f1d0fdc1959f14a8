// A private X server (Xvfb) with the game in it, driven by xdotool.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Pixel {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Pixel&) const = default;
};
using Screen = std::vector<Pixel>;

class XSession {
 public:
  // Starts Xvfb with a screen of the given size on a free display number.
  explicit XSession(int width = 640, int height = 480);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Ok() const { return xvfb_ > 0; }
  // Starts the game full screen with the given game folder and arguments; its standard error
  // goes to errPath if given.
  void StartGame(const std::string& dir, const std::vector<std::string>& args = {},
                 const std::string& errPath = "");
  void SetEnv(const std::string& name, const std::string& value) { env_[name] = value; }
  void SignalGame(int signal) const;
  bool GameRunning();
  // Waits for the game to end; its exit status, or nothing after the timeout.
  std::optional<int> WaitForExit(int timeoutMs);
  bool WaitForWindow(int timeoutMs);
  // Waits until the title screen shows (at 640 x 480), and with it the game reads keys;
  // screenshots go to path.
  bool WaitForTitle(int timeoutMs, const std::string& path);
  // Takes screenshots to path until ok(screen) holds; the last screen taken, or empty when it
  // did not hold within timeoutMs.
  Screen PollScreen(const std::string& path, int timeoutMs,
                    const std::function<bool(const Screen&)>& ok);
  bool Xdotool(const std::vector<std::string>& args);
  // A shell command on this screen, its output dropped (Wine's tools leave children holding a
  // pipe); false when it failed.
  bool Run(const std::string& command);
  bool FocusAway();
  // The game window's place and size on the screen (x, y, width, height); nothing when xdotool
  // cannot find it.
  std::optional<std::array<int, 4>> WindowGeometry();

 private:
  // Runs a program to its end; its standard output, or nothing if it failed.
  std::optional<std::string> Output(const std::vector<std::string>& argv);
  std::string display_;
  int width_, height_;
  std::map<std::string, std::string> env_;
  pid_t xvfb_ = -1, game_ = -1;
  std::optional<int> exited_;  // the game's exit status once it has ended
};

// A pixel of a screenshot of a screen screenWidth wide.
inline Pixel At(const Screen& screen, int x, int y, int screenWidth = 640) {
  return screen.at(static_cast<size_t>(y) * screenWidth + x);
}
// A picture file of the given size as pixels; empty when it cannot be read.
Screen LoadScreen(const std::string& path, int width = 640, int height = 480);
void SleepMs(int ms);

}  // namespace e2e
