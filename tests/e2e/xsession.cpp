// A private X server (Xvfb) with the game in it, driven by xdotool.
#include "e2e/xsession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "media/png.h"
#include "support/script_run.h"

namespace e2e {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

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
    // -noreset: without it the server resets when its last client leaves,
    // between one game of a test and the next.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(), "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  pollfd p{fds[0], POLLIN, 0};
  for (char c = 0; poll(&p, 1, 15000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n';) display_ += c;
  close(fds[0]);
  if (!display_.empty()) {
    display_ = ":" + display_;
  } else if (xvfb_ > 0) {
    kill(xvfb_, SIGKILL);
    waitpid(xvfb_, nullptr, 0);
    xvfb_ = -1;
  }
}

XSession::~XSession() {
  for (const auto& [pid, signal] : {std::pair{game_, SIGKILL}, {xvfb_, SIGTERM}}) {
    if (pid > 0 && kill(pid, signal) == 0) waitpid(pid, nullptr, 0);
  }
}

void XSession::StartGame(const std::string& dir, const std::vector<std::string>& args,
                         const std::string& errPath) {
  game_ = fork();
  if (game_ == 0) {
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (const auto& [name, value] : env_) setenv(name.c_str(), value.c_str(), 1);
    if (!errPath.empty()) dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<std::string> argv = {"--dir", dir};
    argv.insert(argv.end(), args.begin(), args.end());
    testing_support::ExecGame(argv);
  }
}

bool XSession::Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return Output(argv).has_value();
}

bool XSession::Run(const std::string& command) {
  return std::system(("DISPLAY=" + display_ + " " + command + " >/dev/null 2>&1").c_str()) == 0;
}

std::optional<std::string> XSession::Output(const std::vector<std::string>& argv) {
  std::string command = "DISPLAY=" + display_;
  for (const std::string& a : argv) command += " '" + a + "'";
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string text;
  char buffer[256];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  const int status = pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

std::optional<std::array<int, 4>> XSession::WindowGeometry() {
  const auto text = Output(
      {"xdotool", "search", "--onlyvisible", "--name", "Rapiko", "getwindowgeometry", "--shell"});
  std::array<int, 4> g{};
  if (!text || std::sscanf(text->c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g[0], &g[1],
                           &g[2], &g[3]) != 4) {
    return std::nullopt;
  }
  return g;
}

bool XSession::FocusAway() {
  const auto root = Output({"xwininfo", "-root"});
  const size_t at = root ? root->find("Window id: ") : std::string::npos;
  return at != std::string::npos &&
         Xdotool({"windowfocus", root->substr(at + 11, root->find(' ', at + 11) - at - 11)});
}

bool XSession::GameRunning() {
  int status = 0;
  if (game_ <= 0) return false;
  if (waitpid(game_, &status, WNOHANG) != game_) return true;
  exited_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  game_ = -1;
  return false;
}

std::optional<int> XSession::WaitForExit(int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 50, SleepMs(50)) {
    if (!GameRunning()) return exited_;
  }
  return std::nullopt;
}

bool XSession::WaitForWindow(int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 100, SleepMs(100)) {
    if (!GameRunning()) return false;  // the game ended before showing a window
    if (Xdotool({"search", "--onlyvisible", "--name", "Rapiko"})) return true;
  }
  return false;
}

bool XSession::WaitForTitle(int timeoutMs, const std::string& path) {
  // The ranking panel is pale pink once the main loop runs; start-up, and
  // with it the keyboard, is done by then.
  return !PollScreen(path, timeoutMs, [](const Screen& s) {
            return At(s, 340, 400) == Pixel{255, 230, 230};
          }).empty();
}

Screen XSession::PollScreen(const std::string& path, int timeoutMs,
                            const std::function<bool(const Screen&)>& ok) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    Output({"import", "-window", "root", path});
    Screen screen = LoadScreen(path, width_, height_);
    if (!screen.empty() && ok(screen)) return screen;
    SleepMs(100);
  } while (std::chrono::steady_clock::now() < end);
  return {};
}

void XSession::SignalGame(int signal) const {
  if (game_ > 0) kill(game_, signal);
}

Screen LoadScreen(const std::string& path, int width, int height) {
  Screen out;
  const std::string bytes = testing_support::ReadFileBytes(path);
  const auto picture =
      media::DecodePng({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  if (!picture || picture->width != width || picture->height != height) return out;
  for (size_t at = 0; at < picture->rgba.size(); at += 4)
    out.push_back({picture->rgba[at], picture->rgba[at + 1], picture->rgba[at + 2]});
  return out;
}

}  // namespace e2e
