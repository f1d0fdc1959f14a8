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

class XSession {
 public:
  // Starts Xvfb with a screen of the given size on a free display number.
  explicit XSession(int width = 640, int height = 480);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Ok() const { return xvfb_ > 0; }

  // Starts the game full screen with the given game folder and arguments;
  // its standard error goes to errPath if given.
  pid_t StartGame(const std::string& dir, const std::vector<std::string>& args = {},
                  const std::string& errPath = "");
  void SetEnv(const std::string& name, const std::string& value) { env_[name] = value; }
  bool FocusAway();
  bool GameRunning();
  bool WaitForWindow(int timeoutMs);
  // Waits until the title screen shows (at 640 x 480), and with it the game
  // reads keys; screenshots go to path.
  bool WaitForTitle(int timeoutMs, const std::string& path);
  bool Xdotool(const std::vector<std::string>& args);
  // Runs a command (words split at blanks) on this screen; false when it failed.
  bool Run(const std::string& command);
  void SignalGame(int signal) const;
  // The game window's place and size on the screen (x, y, width, height);
  // nothing when xdotool cannot find it.
  std::optional<std::array<int, 4>> WindowGeometry();
  // The whole screen as pixels, row by row, empty when the capture failed.
  std::vector<Pixel> Screenshot(const std::string& path);
  // Waits for the game to end; its exit status, or nothing after the timeout.
  std::optional<int> WaitForExit(int timeoutMs);

 private:
  // Runs a program to its end; its standard output, or nothing if it failed.
  std::optional<std::string> Output(const std::vector<std::string>& argv);
  std::string display_;
  int width_;
  int height_;
  std::map<std::string, std::string> env_;
  pid_t xvfb_ = -1;
  pid_t game_ = -1;
  std::optional<int> exited_;  // the game's exit status once it has ended
};

// A pixel of a screenshot of a screen screenWidth wide.
Pixel At(const std::vector<Pixel>& screen, int x, int y, int screenWidth = 640);
// A picture file of the given size as pixels; empty when it cannot be read.
std::vector<Pixel> LoadScreen(const std::string& path, int width = 640, int height = 480);
void SleepMs(int ms);

// Takes screenshots until ok(screen) holds; the last screen taken, or empty
// when it did not hold within timeoutMs.
std::vector<Pixel> PollScreen(XSession& x, const std::string& path, int timeoutMs,
                              const std::function<bool(const std::vector<Pixel>&)>& ok);

}  // namespace e2e
