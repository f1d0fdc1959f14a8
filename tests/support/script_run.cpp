// Runs the game binary headless on a script in a scratch game folder.
#include "support/script_run.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

std::string& GameLocale() {
  static std::string locale = "C.UTF-8";
  return locale;
}

void ExecGame(const std::vector<std::string>& args) {
  // The game's language follows the locale: each test names its own.
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", GameLocale().c_str(), 1);
  // RAPIKO_PROGRAM runs another build of the same game instead (words split at blanks):
  // "wine64 build-windows/rapiko.exe", "node build-web/node/rapiko.js".
  std::vector<std::string> argv;
  if (const char* program = std::getenv("RAPIKO_PROGRAM"); program && *program) {
    std::istringstream words(program);
    for (std::string word; words >> word;) argv.push_back(word);
  } else {
    argv.push_back(RAPIKO_BINARY);
  }
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargs;
  for (std::string& a : argv) cargs.push_back(a.data());
  cargs.push_back(nullptr);
  execvp(cargs[0], cargs.data());
  _exit(127);
}

RunResult RunBinary(const std::vector<std::string>& args, uid_t uid) {
  return LiveRun(args, uid).Finish();
}

RunResult RunScript(const GameDir& dir, const std::string& script,
                    const std::vector<std::string>& extraArgs, uid_t uid) {
  dir.Write("script.txt", script);
  std::vector<std::string> args = {"--headless", "--script", dir.File("script.txt"), "--dir",
                                   dir.Path()};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  return RunBinary(args, uid);
}

LiveRun::LiveRun(const GameDir& dir)
    : LiveRun({"--headless", "--script", "-", "--dir", dir.Path()}) {}

LiveRun::LiveRun(const std::vector<std::string>& args, uid_t uid)
    : errPath_((fs::temp_directory_path() /
                ("rapiko-err-" + std::to_string(getpid()) + "-" + std::to_string(uintptr_t(this))))
                   .string()) {
  int in[2], out[2];
  // Close-on-exec, so that no other game started later holds this one's pipes open.
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ == 0) {
    const int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err, 2);
    for (const int fd : {in[0], in[1], out[0], out[1], err}) close(fd);
    std::signal(SIGPIPE, SIG_DFL);  // as a shell starts it, whatever this test ignores
    if (uid != static_cast<uid_t>(-1) && setuid(uid) != 0) _exit(126);
    ExecGame(args);
  }
  close(in[0]);
  close(out[1]);
  std::signal(SIGPIPE, SIG_IGN);  // a game that ended must not end the test
  in_ = in[1];
  out_ = out[0];
}

LiveRun::~LiveRun() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (in_ >= 0) close(in_);
  if (out_ >= 0) close(out_);
  unlink(errPath_.c_str());
}

void LiveRun::Send(const std::string& commands) {
  if (write(in_, commands.data(), commands.size()) != static_cast<ssize_t>(commands.size())) {
    throw std::runtime_error("cannot send to the game");
  }
}

std::optional<std::string> LiveRun::ReadLine(int timeoutMs) {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
    char buffer[65536];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) return std::nullopt;
    pending_.append(buffer, static_cast<size_t>(n));
  }
}

void LiveRun::Signal(int signal) const { kill(pid_, signal); }

void LiveRun::CloseOutput() {
  close(out_);
  out_ = -1;
}

RunResult LiveRun::Finish() {
  close(in_);
  in_ = -1;
  RunResult r;
  r.out = std::move(pending_);
  char buffer[65536];
  for (ssize_t n; out_ >= 0 && (n = read(out_, buffer, sizeof buffer)) > 0;) {
    r.out.append(buffer, size_t(n));
  }
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.err = ReadFileBytes(errPath_);
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) {
    // Only a headless run prints JSON; --help and --version print text.
    if (!line.empty() && line[0] == '{') r.lines.push_back(nlohmann::json::parse(line));
  }
  return r;
}

}  // namespace testing_support
