// A private X server (Xvfb) with the game in it, driven by xdotool.
#include "e2e/xsession.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

pid_t XSession::Spawn(const std::vector<std::string>& argv, bool quiet) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (quiet) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
    }
    std::vector<std::string> copy = argv;
    std::vector<char*> args;
    for (std::string& a : copy) args.push_back(a.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

XSession::XSession(int width, int height) : width_(width), height_(height) {
  // Xvfb picks a free display itself and writes its number once it accepts
  // connections, so parallel tests neither collide nor race its start.
  int fds[2];
  if (pipe(fds) != 0) return;
  xvfb_ = fork();
  if (xvfb_ == 0) {
    close(fds[0]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    const std::string fd = std::to_string(fds[1]);
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(), "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, 15000) > 0) {
    char c = 0;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    if (xvfb_ > 0) {
      kill(xvfb_, SIGKILL);
      waitpid(xvfb_, nullptr, 0);
    }
    xvfb_ = -1;
    return;
  }
  display_ = ":" + number;
}

XSession::~XSession() {
  if (game_ > 0) {
    kill(game_, SIGKILL);
    waitpid(game_, nullptr, 0);
  }
  if (xvfb_ > 0) {
    kill(xvfb_, SIGTERM);
    waitpid(xvfb_, nullptr, 0);
  }
}

pid_t XSession::StartGame(const std::string& dir, const std::vector<std::string>& args) {
  std::vector<std::string> argv = {RAPIKO_BINARY, "--dir", dir};
  argv.insert(argv.end(), args.begin(), args.end());
  game_ = Spawn(argv, false);
  return game_;
}

std::optional<std::array<int, 4>> XSession::WindowGeometry() {
  int fds[2];
  if (pipe(fds) != 0) return std::nullopt;
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", display_.c_str(), 1);
    dup2(fds[1], 1);
    close(fds[0]);
    execlp("xdotool", "xdotool", "search", "--onlyvisible", "--name", "Rapiko", "getwindowgeometry",
           "--shell", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  // Lines of NAME=VALUE: WINDOW, X, Y, WIDTH, HEIGHT, SCREEN.
  std::array<int, 4> g{-1, -1, -1, -1};
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    if (name == "X") g[0] = value;
    if (name == "Y") g[1] = value;
    if (name == "WIDTH") g[2] = value;
    if (name == "HEIGHT") g[3] = value;
  }
  if (g[2] < 0 || g[3] < 0) return std::nullopt;
  return g;
}

bool XSession::Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  const pid_t pid = Spawn(argv, true);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool XSession::WaitForWindow(int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    if (game_ > 0 && waitpid(game_, nullptr, WNOHANG) == game_) {
      game_ = -1;
      return false;  // the game ended before showing a window
    }
    if (Xdotool({"search", "--onlyvisible", "--name", "Rapiko"})) return true;
    SleepMs(100);
  }
  return false;
}

std::vector<Pixel> XSession::Screenshot(const std::string& path) {
  const pid_t pid = Spawn({"import", "-display", display_, "-window", "root", path}, true);
  int status = 0;
  waitpid(pid, &status, 0);
  std::vector<Pixel> out;
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return out;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(loaded);
  if (!rgb) return out;
  if (rgb->w == width_ && rgb->h == height_) {
    out.resize(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
      const auto* row = static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch;
      for (int x = 0; x < width_; ++x) {
        out[static_cast<size_t>(y) * width_ + x] = {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
      }
    }
  }
  SDL_FreeSurface(rgb);
  return out;
}

std::optional<int> XSession::WaitForExit(int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    int status = 0;
    if (waitpid(game_, &status, WNOHANG) == game_) {
      game_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    SleepMs(50);
  }
  return std::nullopt;
}

Pixel At(const std::vector<Pixel>& screen, int x, int y, int screenWidth) {
  return screen.at(static_cast<size_t>(y) * screenWidth + x);
}

}  // namespace e2e
