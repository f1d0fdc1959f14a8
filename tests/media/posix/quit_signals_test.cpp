// Tests of the quit signals on POSIX systems: each is noted, none ends the process.
#include "media/quit_signals.h"

#include <gtest/gtest.h>

#include <csignal>

namespace media {
namespace {

// In a child process, since the request, once noted, stays for the process's life. Exit code 0:
// nothing noted before a signal, something after each, and the process still running.
TEST(QuitSignals, EachIsNotedAndNoneEndsTheProcess) {
  for (const int signal : {SIGHUP, SIGTERM, SIGINT}) {
    EXPECT_EXIT(
        {
          const QuitSignalCatcher catcher;
          if (QuitSignalled()) std::_Exit(1);
          std::raise(SIGPIPE);  // a closed pipe is no request
          if (QuitSignalled()) std::_Exit(2);
          std::raise(signal);
          std::_Exit(QuitSignalled() ? 0 : 3);
        },
        testing::ExitedWithCode(0), "")
        << signal;
  }
}

}  // namespace
}  // namespace media
