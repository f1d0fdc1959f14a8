// Runs the game binary headless on a script in a scratch game folder.
#pragma once

#include <sys/types.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "support/game_dir.h"

namespace testing_support {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  std::vector<nlohmann::json> lines;  // stdout, one JSON object per line
};

// Runs `rapiko --headless --script FILE --dir DIR` on the script text (as
// the given user when uid is not -1).
RunResult RunScript(const GameDir& dir, const std::string& script,
                    const std::vector<std::string>& extraArgs = {},
                    uid_t uid = static_cast<uid_t>(-1));
// Runs the binary with exactly these arguments (standard input empty), as
// the given user when uid is not -1.
RunResult RunBinary(const std::vector<std::string>& args, uid_t uid = static_cast<uid_t>(-1));

// A headless run fed through a pipe, a few commands at a time, as a program
// driving the game would: for runs that must overlap or get a signal.
class LiveRun {
 public:
  explicit LiveRun(const GameDir& dir);  // a script from standard input
  // The binary with exactly these arguments, as the given user when uid is not -1.
  explicit LiveRun(const std::vector<std::string>& args, uid_t uid = static_cast<uid_t>(-1));
  ~LiveRun();
  LiveRun(const LiveRun&) = delete;
  LiveRun& operator=(const LiveRun&) = delete;

  void Send(const std::string& commands);
  // The next line of standard output; nothing at its end, or when none comes within timeoutMs
  // (-1: wait for it, however long; CTest's limit ends a game that hangs).
  std::optional<std::string> ReadLine(int timeoutMs = -1);
  void Signal(int signal) const;
  // Stops reading the game's standard output, as a reader that has seen enough does.
  void CloseOutput();
  // Ends the script and waits for the end: the rest of the output, exit status, standard error.
  RunResult Finish();

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string errPath_;
  std::string pending_;
};

// The locale the games started from here run in (LANG; LC_ALL and
// LC_MESSAGES unset): C.UTF-8 unless a test sets another.
std::string& GameLocale();
// Replaces this process with the game binary run with these arguments.
[[noreturn]] void ExecGame(const std::vector<std::string>& args);

}  // namespace testing_support
