// A private X server (Xvfb) with the game in it, driven by xdotool.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Pixel {
  uint8_t r = 0, g = 0, b = 0;
};

class XSession {
 public:
  // Starts Xvfb with a screen of the given size on a free display number.
  explicit XSession(int width = 640, int height = 480);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Ok() const { return xvfb_ > 0; }
  const std::string& Display() const { return display_; }

  // Starts the game full screen with the given game folder and arguments.
  pid_t StartGame(const std::string& dir, const std::vector<std::string>& args = {});
  // Waits until the game's window is mapped; false after the timeout.
  bool WaitForWindow(int timeoutMs);
  // Runs xdotool with the arguments; true when it exited 0.
  bool Xdotool(const std::vector<std::string>& args);
  // The game window's place and size on the screen (x, y, width, height);
  // nothing when xdotool cannot find it.
  std::optional<std::array<int, 4>> WindowGeometry();
  // The whole screen as pixels, row by row, empty when the capture failed.
  std::vector<Pixel> Screenshot(const std::string& path);
  // Waits for the game to end; its exit status, or nothing after the timeout.
  std::optional<int> WaitForExit(int timeoutMs);

 private:
  pid_t Spawn(const std::vector<std::string>& argv, bool quiet);
  std::string display_;
  int width_;
  int height_;
  pid_t xvfb_ = -1;
  pid_t game_ = -1;
};

// A pixel of a screenshot of a screen screenWidth wide.
Pixel At(const std::vector<Pixel>& screen, int x, int y, int screenWidth = 640);
void SleepMs(int ms);

}  // namespace e2e
