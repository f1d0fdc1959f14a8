// A scripted run whose recording cannot be written ends with that failure, not as a success.
#include <gtest/gtest.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>

#include "script/run_script.h"
#include "support/failing_calls.h"
#include "support/game_dir.h"

namespace {

// The recording's writes fail (a full disk); the game itself plays on, and
// the run's status and last line say the recording was lost.
TEST(RunScript, ARecordingThatCannotBeWrittenFailsTheRun) {
  testing_support::GameDir dir;
  dir.Write("s.script", "start 5\npress 57\ntick 16 3\n");
  const std::string path = dir.File("r.script");
  const std::string said = storage_testing::InChildFailing({SYS_pwrite64}, ENOSPC, [&] {
    std::ostringstream out, err;
    const int status =
        script::RunScriptedGame(dir.File("s.script"), dir.Path() + "/", "", out, err, path);
    return std::to_string(status) + " " + err.str();
  });
  if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
  EXPECT_EQ(said, "1 cannot write the recording " + path + ": " + std::strerror(ENOSPC) + "\n");
}

}  // namespace
